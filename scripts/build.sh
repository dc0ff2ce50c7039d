#!/usr/bin/env bash
# Installs what is missing for building and testing, and builds Vorla with
# its tests into ./build (or $VORLA_BUILD_DIR).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VORLA_BUILD_DIR:-$here/build}
"$here/scripts/install-deps.sh" build test
cmake -S "$here" -B "$build" -G "Unix Makefiles" -DVORLA_TESTS=ON ${VORLA_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"
