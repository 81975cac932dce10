#!/usr/bin/env bash
# Whole-run benchmark: builds the release pentrak-cli, writes a synthetic site (25 folders of 50
# documents) as a Pentrak project and as the equivalent Hugo site, generates both, and prints
# documents per second, peak memory and the ratio of the two rates. A second project of 20,000
# documents shows how the time grows with the size of the project.
#
# On the 20,000-document project it then compares the paths where a user of a large site waits
# with the standard tools for the same work: a run with --modified-only when nothing changed
# against ninja's no-work check over the same dependencies, search against grep -rn over the
# sources, and replace against sed -i over a copy of them.
#
# usage: [TRIES=5] bench/run.sh   (from anywhere; installs GNU time, hugo, ninja, python3 if
# missing)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

source bench/common.sh
need() { command -v "$1" >/dev/null 2>&1; }
[ -x /usr/bin/time ] || install_packages time
need hugo || install_packages hugo
need ninja || install_packages ninja-build
need python3 || install_packages python3

build_release_cli

work="$(mktemp -d)"
tries="${TRIES:-5}"
trap 'rm -rf "$work"' EXIT

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

# Prints one comparison: what Pentrak and the other tool took (best of the tries) and the ratio.
compare() {
  local what="$1" p_s="$2" p_k="$3" tool="$4" t_s="$5" t_k="$6"
  printf '%-24s pentrak %ss (peak %s MiB), %s %ss (peak %s MiB): ratio %s\n' "$what" \
    "$(secs "$p_s")" "$(mib "$p_k")" "$tool" "$(secs "$t_s")" "$(mib "$t_k")" "$(ratio "$p_s" "$t_s")"
}

echo "== 20,000 documents, nothing changed"
large="$work/large/pentrak"
measure "$cli" --home "$work/home-large" generate --modified-only --quiet
p_seconds=$seconds
p_peak=$peak_kib
grep -q "Current Documents:    20000" "$work/home-large/temp/pentrak.txt" || {
  echo "the run with --modified-only generated documents" >&2
  exit 1
}
measure ninja -C "$large"
grep -q "no work to do" "$work/out.txt" || {
  echo "ninja found work to do" >&2
  exit 1
}
compare "no-change run / ninja" "$p_seconds" "$p_peak" ninja "$seconds" "$peak_kib"

echo "== 20,000 documents, search"
find_text="Paragraph 7 of document 12 in"
measure "$cli" --home "$work/home-large" search "$find_text"
p_seconds=$seconds
p_peak=$peak_kib
grep -q "^Complete. 100 occurrences in 100 files. 40004 files checked. " "$work/out.txt" || {
  echo "search did not find what it should" >&2
  exit 1
}
measure grep -rn "$find_text" "$large/src"
compare "search / grep -rn" "$p_seconds" "$p_peak" "grep -rn" "$seconds" "$peak_kib"

echo "== 20,000 documents, replace"
# Each tool works on its own copy, replacing back and forth so that every try changes the same
# 100 files.
cp -a "$large" "$work/replace"
sed -i "s#$large#$work/replace#" "$work/replace/site.web"
cp -a "$large/src" "$work/sed"
flip="$root/bench/flip_replace.sh"
measure "$flip" pentrak "$work/replace" "$cli" "$work/home-replace"
p_seconds=$seconds
p_peak=$peak_kib
grep -q "^Complete. 2400 replacements in 100 files. " "$work/out.txt" || {
  echo "replace did not make the replacements it should" >&2
  exit 1
}
measure "$flip" sed "$work/sed"
compare "replace / sed -i" "$p_seconds" "$p_peak" "sed -i" "$seconds" "$peak_kib"
