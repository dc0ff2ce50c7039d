#!/usr/bin/env bash
# Installs what is missing, builds Vorla and starts it.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/build.sh"
exec "${VORLA_BUILD_DIR:-$here/build}/src/app/vorla" "$@"
