#!/usr/bin/env bash
# Link check benchmark: writes the 20,000-document synthetic site (bench/make_site.py) with a few
# planted faults (a missing page, a missing image, a wrong anchor) and a good anchor, generates
# it, adds the root pages every document links to, and then, in the same run and on the same
# generated site, checks its internal links with pentrak-cli check (cold: a fresh process, on
# one core), html-proofer and linkchecker. It prints each tool's time, CPU time and peak memory,
# whether each found the same broken links (compared as page and line), and the time of a check
# after one page was written again (bench/link_check_bench.cpp).
#
# linkchecker reads the files (file://): over HTTP it asks a host at most ten times a second,
# and timing that would say nothing. As files, root-relative links ("/page17.html") are outside
# the start folder to it and left unchecked; the planted faults are all relative links.
#
# usage: [FOLDERS=100 DOCS=200 TRIES=3] bench/check.sh   (installs GNU time, linkchecker and
# ruby-html-proofer when missing; they are not needed to build Pentrak)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
[ -x /usr/bin/time ] || install_packages time
command -v linkchecker >/dev/null || install_packages linkchecker
command -v htmlproofer >/dev/null || install_packages ruby-html-proofer

build_release_cli
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPENTRAK_TESTS=OFF \
  -DPENTRAK_WERROR=OFF -DPENTRAK_BENCH=ON >/dev/null
cmake --build build/bench --target link_check_bench >/dev/null
bench_bin="$(pwd)/build/bench/link_check_bench"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# linkchecker drops root's rights and reads as nobody.
chmod 755 "$work"
folders="${FOLDERS:-100}"
docs="${DOCS:-200}"
tries="${TRIES:-3}"
python3 bench/make_site.py "$work/site" "$folders" "$docs" >/dev/null
site="$work/site/pentrak"
out="$site/out"

python3 - "$site/src" <<'PLANT'
import sys
src = sys.argv[1]
def plant(name, old, new):
    path = f"{src}/{name}"
    text = open(path, newline="").read()
    assert old in text, (name, old)
    open(path, "w", newline="").write(text.replace(old, new, 1))
plant("f000/d001.par", "Paragraph 1 of document 1 in folder 0.",
      'Paragraph 1 <a href="missing-page.html">gone</a>.')
plant("f001/d002.par", "Paragraph 2 of document 2 in folder 1.",
      'Paragraph 2 <img src="../images/nope.png" alt="nope">.')
plant("f002/d003.par", "Paragraph 3 of document 3 in folder 2.",
      'Paragraph 3 <a href="d000.html#nowhere">d0</a>.')
plant("f003/d004.par", "Paragraph 4 of document 4 in folder 3.",
      'Paragraph 4 <span id="here">x</span> <a href="#here">here</a>.')
PLANT
"$cli" --home "$work/home" generate "$site/site.web" --create-subdirectories --quiet \
  >/dev/null 2>&1 || true
write_link_targets "$out"
chmod -R o+rX "$work"
pages=$(find "$out" -name '*.html' | wc -l)
echo "== $pages pages, $(du -sh "$out" | cut -f1) in $out"

# Runs a command COUNT times; keeps the best wall-clock time with its CPU time and peak memory,
# and that run's output. Exit statuses are the tools' verdicts, not failures of the benchmark.
measure() {
  local count=$1
  shift
  best=""
  for ((try = 1; try <= count; try++)); do
    /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "$@" >"$work/out.txt" 2>"$work/err.txt" ||
      true
    # GNU time puts "Command exited with non-zero status N" before its figures.
    read -r wall user system peak < <(tail -n 1 "$work/time.txt")
    if [ -z "$best" ] || python3 -c "import sys; sys.exit(0 if $wall < $best else 1)"; then
      best=$wall
      best_cpu=$(python3 -c "print(f'{$user + $system:.2f}')")
      best_peak=$((peak / 1024))
      cp "$work/out.txt" "$work/best.txt"
      cp "$work/err.txt" "$work/best-err.txt"
    fi
  done
}

echo "== load before the runs: $(uptime)"
measure "$tries" taskset -c 0 nice -n 0 "$cli" --home "$work/home" check --json
p_wall=$best p_cpu=$best_cpu p_peak=$best_peak
cp "$work/best.txt" "$work/pentrak.json"
printf '%-14s %8ss wall %8ss CPU %6s MiB\n' "pentrak-cli" "$p_wall" "$p_cpu" "$p_peak"

# The other two take minutes: one run each.
measure 1 htmlproofer "$out" --disable-external --root-dir "$out"
h_wall=$best h_cpu=$best_cpu h_peak=$best_peak
# html-proofer reports on stderr.
cat "$work/best.txt" "$work/best-err.txt" >"$work/htmlproofer.txt"
printf '%-14s %8ss wall %8ss CPU %6s MiB\n' "html-proofer" "$h_wall" "$h_cpu" "$h_peak"

printf '[AnchorCheck]\n' >"$work/linkcheckerrc"
measure 1 linkchecker --config "$work/linkcheckerrc" --no-status -o csv "file://$out/"
l_wall=$best l_cpu=$best_cpu l_peak=$best_peak
cp "$work/best.txt" "$work/linkchecker.csv"
printf '%-14s %8ss wall %8ss CPU %6s MiB\n' "linkchecker" "$l_wall" "$l_cpu" "$l_peak"
echo "== load after the runs: $(uptime)"

python3 - "$out" "$work" "$p_wall" "$p_cpu" "$h_wall" "$h_cpu" "$l_wall" "$l_cpu" <<'COMPARE'
import csv, json, re, sys
out, work = sys.argv[1], sys.argv[2]
p_wall, p_cpu, h_wall, h_cpu, l_wall, l_cpu = map(float, sys.argv[3:9])
def page(path):
    path = path.replace("file://", "")
    return path[len(out) + 1:] if path.startswith(out + "/") else path
pentrak = {(page(f["file"]), f["line"]) for f in map(json.loads, open(f"{work}/pentrak.json"))}
proofer, current = set(), None
for line in open(f"{work}/htmlproofer.txt"):
    if m := re.match(r"^- (.*)$", line.rstrip()):
        current = page(m.group(1))
    elif (m := re.search(r"\(line (\d+)\)", line)) and current:
        proofer.add((current, int(m.group(1))))
checker = set()
rows = [l for l in open(f"{work}/linkchecker.csv") if not l.startswith("#")]
for row in csv.DictReader(rows, delimiter=";"):
    if row["valid"] == "False" or "not found" in row["warningstring"]:
        checker.add((page(row["parentname"]), int(row["line"])))
def show(name, found, wall, cpu):
    same = "the same findings" if found == pentrak else f"DIFFERENT findings: {sorted(found ^ pentrak)}"
    print(f"{name:14} {len(found)} broken, {same}; pentrak-cli is {wall / p_wall:.0f}x faster "
          f"(wall), {cpu / max(p_cpu, 0.01):.0f}x (CPU)")
print(f"pentrak-cli    {len(pentrak)} broken: {sorted(pentrak)}")
show("html-proofer", proofer, h_wall, h_cpu)
show("linkchecker", checker, l_wall, l_cpu)
COMPARE

echo "== a check after one page was written again"
PENTRAK_CHECK_PROJECT="$site/site.web" taskset -c 0 "$bench_bin" --benchmark_min_time=1
