#!/usr/bin/env bash
# Whole-run benchmark: builds the release pentrak-cli, writes a synthetic site (25 folders of 50
# documents) as a Pentrak project and as the equivalent Hugo site, generates both, and prints
# documents per second, peak memory and the ratio of the two rates. A second project of 20,000
# documents shows how the time grows with the size of the project.
#
# usage: bench/run.sh            (from anywhere; needs python3, hugo and GNU time)
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
cmake --preset release -DPENTRAK_BENCH=OFF >/dev/null
cmake --build --preset release --target pentrak-cli >/dev/null
cli="$root/build/release/pentrak-cli"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Runs a command under GNU time; sets seconds and peak_kib.
measure() {
  /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >"$work/out.txt" 2>"$work/err.txt" || {
    cat "$work/err.txt" >&2
    return 1
  }
  read -r seconds peak_kib <"$work/time.txt"
}

rate() { python3 -c "print(f'{$1 / max($2, 0.001):.0f}')"; }
mib() { python3 -c "print(f'{$1 / 1024:.1f}')"; }

# Generates one project: a first run creates the program folder and the document folders, the
# timed second run regenerates every document.
pentrak_run() {
  local site="$1" home="$2"
  "$cli" --home "$home" generate "$site/pentrak/site.web" --create-subdirectories --quiet \
    >/dev/null 2>&1 || true
  measure "$cli" --home "$home" generate --quiet
}

hugo_run() {
  local site="$1"
  rm -rf "$site/hugo/public" "$site/hugo/resources"
  measure hugo --quiet --source "$site/hugo" --destination "$site/hugo/public"
}

echo "== 1,250 documents"
python3 bench/make_site.py "$work/small" 25 50
pentrak_run "$work/small" "$work/home-small"
p_seconds=$seconds
p_peak=$peak_kib
generated=$(find "$work/small/pentrak/out" -name '*.html' | wc -l)
hugo_run "$work/small"
h_seconds=$seconds
h_peak=$peak_kib
hugo_pages=$(find "$work/small/hugo/public" -name '*.html' | wc -l)
p_rate=$(rate 1250 "$p_seconds")
h_rate=$(rate 1250 "$h_seconds")
echo "pentrak: $generated documents in ${p_seconds}s = $p_rate documents/s, peak $(mib "$p_peak") MiB"
echo "hugo:    $hugo_pages pages in ${h_seconds}s = $h_rate pages/s, peak $(mib "$h_peak") MiB"
echo "ratio:   $(python3 -c "print(f'{$p_rate / max($h_rate, 1):.2f}')") x Hugo's rate"

echo "== 20,000 documents"
python3 bench/make_site.py "$work/large" 100 200
pentrak_run "$work/large" "$work/home-large"
l_seconds=$seconds
l_peak=$peak_kib
echo "pentrak: 20000 documents in ${l_seconds}s = $(rate 20000 "$l_seconds") documents/s, peak $(mib "$l_peak") MiB"
python3 -c "
small = $p_seconds / 1250 * 1e6
large = $l_seconds / 20000 * 1e6
print(f'time per document: {small:.0f} us at 1,250, {large:.0f} us at 20,000 (x{large / max(small, 1e-9):.2f}: linear when near 1)')"
