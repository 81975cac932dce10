#!/usr/bin/env bash
# Sets everything up, builds Pentrak CMS and prints its version (the sample site arrives with
# generation).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target pentrak-cli
build/release/pentrak-cli --version
