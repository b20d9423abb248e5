#!/usr/bin/env bash
# Installs what is missing, builds and runs every test. Optional argument: the preset
# (default, debug, asan, tsan).
set -euo pipefail
cd "$(dirname "$0")"
preset="${1:-default}"
bash tools/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset"
