#!/usr/bin/env bash
# Installs what is missing, builds Vorla with its tests and runs every test.
# Window tests draw offscreen; tests that need a service start their own.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VORLA_BUILD_DIR:-$here/build}
"$here/scripts/build.sh"
cd "$build"
ctest --output-on-failure -j"$(nproc)"
