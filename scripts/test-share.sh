#!/usr/bin/env bash
# Prints the share of test lines (test files and test support) in all C++ lines under src/ and
# fuzz/, and fails when it leaves 0.20-0.40: tests that grow past the code, or code that
# outgrows its tests, both want a look.
set -euo pipefail
cd "$(dirname "$0")/.."
all=$(git ls-files --cached --others --exclude-standard 'src/*.cpp' 'src/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
is_test='(_test\.cpp|_test_main\.cpp|_test_support\.h)$|^src/testing/'
count() { xargs -r cat | wc -l; }
total=$(count <<<"$all")
tests=$(grep -E "$is_test" <<<"$all" | count)
awk -v t="$tests" -v a="$total" 'BEGIN {
  share = t / a
  printf "test lines %d of %d C++ lines: share %.3f\n", t, a, share
  if (share < 0.20 || share > 0.40) { print "the share is outside 0.20-0.40" > "/dev/stderr"; exit 1 }
}'
