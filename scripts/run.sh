#!/usr/bin/env bash
# Installs what building and running Vorla needs (and nothing the tests
# need), builds the program alone into ./build (or $VORLA_BUILD_DIR) and
# starts it. Arguments go to the program: ./scripts/run.sh values.txt
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VORLA_BUILD_DIR:-$here/build}
"$here/scripts/install-deps.sh" build
cmake -S "$here" -B "$build" -G "Unix Makefiles" -DVORLA_TESTS=OFF -DVORLA_BENCH=OFF \
  ${VORLA_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)" --target vorla
exec "$build/src/app/vorla" "$@"
