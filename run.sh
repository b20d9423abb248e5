#!/usr/bin/env bash
# Installs what is missing, builds and runs the station on the bench (the default bench
# unless PELVATRO_BENCH names another).
set -euo pipefail
cd "$(dirname "$0")"
bash tools/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"
exec build/default/bin/pelvatro "$@"
