#!/usr/bin/env bash
# Sets everything up, builds the dev preset and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
preset="${1:-dev}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j"$(nproc)"
