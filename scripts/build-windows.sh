#!/usr/bin/env bash
# Cross-builds Vorla for 64-bit Windows with MinGW-w64 and the static Qt of
# scripts/build-windows-qt.sh (built once, then taken from its cache), into
# ./build-windows (or $VORLA_WINDOWS_BUILD_DIR):
#   vorla.exe            the program, one static executable
#   vorla.com            the same program for cmd.exe and PowerShell
#   *_tests.exe          the test executables (scripts/test-windows.sh)
#   package/             vorla-<version>-setup.exe and vorla-<version>-windows.zip
# Build only some targets with VORLA_WINDOWS_TARGETS="vorla vorla_console".
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VORLA_WINDOWS_BUILD_DIR:-$here/build-windows}
jobs=${VORLA_JOBS:-$(nproc)}

"$here/scripts/install-deps.sh" windows
qt=$("$here/scripts/build-windows-qt.sh" | tail -n 1)

if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
  # Paths below the checkout are hashed as relative ones, so a fresh clone in
  # another folder (as CI makes) finds the objects of an earlier one.
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$here}
fi

# nlohmann-json and Boost.Math are headers only, the same for any target, but
# they sit in /usr/include, which must not reach the MinGW compiler (glibc's
# headers would stand before MinGW's). A folder of their own holds only these
# two (symlinks), with a package file for nlohmann-json, whose own one names
# /usr/include; FindBoost takes the folder as Boost's.
headers=$build/host-headers
mkdir -p "$headers/include" "$headers/cmake/nlohmann_json"
ln -sfn /usr/include/nlohmann "$headers/include/nlohmann"
ln -sfn /usr/include/boost "$headers/include/boost"
json_version=$(sed -n 's/^#define NLOHMANN_JSON_VERSION_\(MAJOR\|MINOR\|PATCH\) \([0-9]*\).*/\2/p' \
  /usr/include/nlohmann/detail/abi_macros.hpp | paste -sd.)
cat > "$headers/cmake/nlohmann_json/nlohmann_jsonConfig.cmake" <<CMAKE
if(NOT TARGET nlohmann_json::nlohmann_json)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "$headers/include")
endif()
CMAKE
cat > "$headers/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake" <<CMAKE
set(PACKAGE_VERSION "$json_version")
if(PACKAGE_VERSION VERSION_LESS PACKAGE_FIND_VERSION)
  set(PACKAGE_VERSION_COMPATIBLE FALSE)
else()
  set(PACKAGE_VERSION_COMPATIBLE TRUE)
endif()
CMAKE
# Qt's own toolchain file finds the cross-built Qt and the host tools, and
# loads this project's MinGW one.
cmake -S "$here" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -Dnlohmann_json_DIR="$headers/cmake/nlohmann_json" \
  -DBoost_NO_BOOST_CMAKE=ON -DBoost_INCLUDE_DIR="$headers/include" \
  -DCMAKE_BUILD_TYPE=Release -DVORLA_TESTS=ON -DVORLA_BENCH=OFF -DVORLA_FUZZ=OFF \
  ${VORLA_WINDOWS_CMAKE_ARGS:-} >/dev/null
if [ -n "${VORLA_WINDOWS_TARGETS:-}" ]; then
  # shellcheck disable=SC2086
  cmake --build "$build" --parallel "$jobs" --target $VORLA_WINDOWS_TARGETS
else
  cmake --build "$build" --parallel "$jobs"
  cmake --build "$build" --target vorla_windows_package
fi
