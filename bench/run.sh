#!/usr/bin/env bash
# Whole-run benchmark: builds the release pentrak-cli, writes a synthetic site (25 folders of 50
# documents) as a Pentrak project and as the equivalent Hugo site, generates both, and prints
# documents per second, peak memory and the ratio of the two rates. A second project of 20,000
# documents shows how the time grows with the size of the project.
#
# usage: [TRIES=5] bench/run.sh   (from anywhere; installs GNU time, hugo, python3 if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

need() { command -v "$1" >/dev/null 2>&1; }
install() {
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq && $sudo apt-get install -y -qq "$@" >/dev/null
}
[ -x /usr/bin/time ] || install time
need hugo || install hugo
need python3 || install python3

echo "== building the release pentrak-cli"
# Its own optimized tree, without tests; warnings are the tests' business, not the benchmark's.
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPENTRAK_TESTS=OFF \
  -DPENTRAK_WERROR=OFF >/dev/null
cmake --build build/bench --target pentrak-cli >/dev/null 2>&1 || {
  cmake --build build/bench --target pentrak-cli >&2
  exit 1
}
cli="$root/build/bench/pentrak-cli"

work="$(mktemp -d)"
tries="${TRIES:-5}"
trap 'rm -rf "$work"' EXIT

# Runs a command $tries times under GNU time; sets seconds (the best wall-clock time, since the
# machine may be busy with other work) and peak_kib (the largest resident set).
measure() {
  seconds=""
  peak_kib=0
  local try s k
  for ((try = 1; try <= tries; try++)); do
    # Start each try with nothing left to write back from earlier steps.
    sync
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$work/time.txt" "$@" >"$work/out.txt" 2>"$work/err.txt" || {
      cat "$work/err.txt" >&2
      return 1
    }
    end=$(date +%s%N)
    s=$(python3 -c "print(($end - $start) / 1e9)")
    read -r k <"$work/time.txt"
    if [ -z "$seconds" ] || python3 -c "import sys; sys.exit(0 if $s < $seconds else 1)"; then
      seconds=$s
    fi
    if [ "$k" -gt "$peak_kib" ]; then peak_kib=$k; fi
  done
}

rate() { python3 -c "print(f'{$1 / max($2, 0.001):.0f}')"; }
secs() { python3 -c "print(f'{$1:.3f}')"; }
mib() { python3 -c "print(f'{$1 / 1024:.1f}')"; }

# Generates one project: a first run creates the program folder and the document folders, the
# timed second run regenerates every document.
pentrak_run() {
  local site="$1" home="$2"
  "$cli" --home "$home" generate "$site/pentrak/site.web" --create-subdirectories --quiet \
    >/dev/null 2>&1 || true
  measure "$cli" --home "$home" generate --quiet
}

# Hugo regenerates over its earlier output as Pentrak does: a first build writes public/, the
# timed builds replace it.
hugo_run() {
  local site="$1"
  hugo --quiet --source "$site/hugo" --destination "$site/hugo/public" >/dev/null
  measure hugo --quiet --source "$site/hugo" --destination "$site/hugo/public"
}

echo "== 1,250 documents"
python3 bench/make_site.py "$work/small" 25 50
pentrak_run "$work/small" "$work/home-small"
p_seconds=$seconds
p_peak=$peak_kib
generated=$(find "$work/small/pentrak/out" -name '*.html' | wc -l)
if grep -rlq '\[@' "$work/small/pentrak/out"; then
  echo "a generated document still holds a macro tag" >&2
  exit 1
fi
hugo_run "$work/small"
h_seconds=$seconds
h_peak=$peak_kib
hugo_pages=$(find "$work/small/hugo/public" -name '*.html' | wc -l)
p_rate=$(rate 1250 "$p_seconds")
h_rate=$(rate 1250 "$h_seconds")
echo "pentrak: $generated documents in $(secs "$p_seconds")s = $p_rate documents/s, peak $(mib "$p_peak") MiB"
echo "hugo:    $hugo_pages pages in $(secs "$h_seconds")s = $h_rate pages/s, peak $(mib "$h_peak") MiB"
echo "ratio:   $(python3 -c "print(f'{$p_rate / max($h_rate, 1):.2f}')") x Hugo's rate"

echo "== 20,000 documents"
python3 bench/make_site.py "$work/large" 100 200
pentrak_run "$work/large" "$work/home-large"
l_seconds=$seconds
l_peak=$peak_kib
echo "pentrak: 20000 documents in $(secs "$l_seconds")s = $(rate 20000 "$l_seconds") documents/s, peak $(mib "$l_peak") MiB"
python3 -c "
small = $p_seconds / 1250 * 1e6
large = $l_seconds / 20000 * 1e6
print(f'time per document: {small:.0f} us at 1,250, {large:.0f} us at 20,000 (x{large / max(small, 1e-9):.2f}: linear when near 1)')"
