#!/usr/bin/env bash
# Installs what is missing and builds Vorla into ./build (or $VORLA_BUILD_DIR).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VORLA_BUILD_DIR:-$here/build}
"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -G "Unix Makefiles" ${VORLA_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"
