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
fi
# Qt's own toolchain file finds the cross-built Qt and the host tools, and
# loads this project's MinGW one.
cmake -S "$here" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_BUILD_TYPE=Release -DVORLA_TESTS=ON -DVORLA_BENCH=OFF -DVORLA_FUZZ=OFF \
  ${VORLA_WINDOWS_CMAKE_ARGS:-} >/dev/null
if [ -n "${VORLA_WINDOWS_TARGETS:-}" ]; then
  # shellcheck disable=SC2086
  cmake --build "$build" --parallel "$jobs" --target $VORLA_WINDOWS_TARGETS
else
  cmake --build "$build" --parallel "$jobs"
  cmake --build "$build" --target vorla_windows_package
fi
