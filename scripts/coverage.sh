#!/usr/bin/env bash
# Builds the coverage preset, runs every test and prints the line and branch coverage of the
# core (src/ without the two front ends, the tests and the test support).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=build/coverage
cmake --preset coverage >/dev/null
cmake --build --preset coverage
find "$build" -name '*.gcda' -delete
ctest --preset coverage -j"$(nproc)" >"$build/ctest.log" || {
  cat "$build/ctest.log" >&2
  exit 1
}
tail -n 3 "$build/ctest.log"
# Headers count where they hold code; the libraries' own headers are outside --root. Only this
# build's counts are read: another build folder with coverage data would otherwise mix in.
gcovr --root . --object-directory "$build" --filter 'src/' \
  --exclude 'src/cli/' --exclude 'src/gui/' --exclude '.*_test\.cpp$' \
  --exclude 'src/testing/' --exclude '.*test_support\.h$' \
  --exclude-directories '.*/CompilerIdCXX$' \
  --exclude-unreachable-branches --exclude-throw-branches \
  --print-summary --output "$build/coverage.txt" "$build"
