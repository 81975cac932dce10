#!/usr/bin/env bash
# Highest-limits benchmark: the tables a project's limits bound are allocated as they fill, so a
# project whose eleven limits are all 32767 costs what its definition holds. Generates a small
# site (3 documents) and the synthetic 1,250-document site of bench/run.sh, each with its usual
# limits and with every limit at 32767, and prints for each the best wall time of TRIES runs,
# the CPU time (user + system) of that run and the largest resident set (target for the small
# site with the highest limits: under 1 s and 64 MiB). On a busy machine the CPU time tells more
# than the wall time.
#
# usage: [TRIES=5] [PENTRAK_CLI=PATH] bench/high_limits.sh   (from anywhere; installs GNU time if
# missing)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
choose_cli

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
crlf() { printf '%s\r\n' "$@"; }
highest() {
  for key in max-nested-macros max-folders max-globals max-docs max-folder-globals \
    max-content-files max-global-macros max-folder-global-macros max-content-file-macros \
    max-project-macros max-parameters; do
    crlf "$key=32767"
  done
}

# The small site: three documents in two folders, every scope of macros, a parameterised macro.
small="$work/small"
mkdir -p "$small/src" "$small/site"
crlf "Globals=g.par!" "[Main]" "Globals=f.par!" "index.html,page.tpl,index.par!" \
  "about.html,page.tpl!" "[News]" "news.html,page.tpl,news.par!" >"$small/src/project.txt"
crlf "<h1>[@SITE]: [@TITLE]</h1>" "[@LINK(@url:/x.html)]" >"$small/src/page.tpl"
crlf "[@SITE]:" "My Site" "[@]" >"$small/src/site.par"
crlf "[@LINK(@url)(@text:Home)]:" '<a href="(@url)">(@text)</a>' "[@]" >"$small/src/g.par"
crlf "[@TITLE]:" "Main" "[@]" >"$small/src/f.par"
crlf "[@TITLE]:" "Index" "[@]" >"$small/src/index.par"
crlf "[@TITLE]:" "News" "[@]" >"$small/src/news.par"
crlf "name=Small" "content-root=$small/src" "document-root=$small/site" \
  "definition-file=project.txt" "project-macro-file=site.par" >"$small/usual.web"
{
  cat "$small/usual.web"
  highest
} >"$small/highest.web"

python3 bench/make_site.py "$work/large" 25 50
large="$work/large/pentrak"
cp "$large/site.web" "$large/usual.web"
{
  grep -av '^max-' "$large/site.web"
  highest
} >"$large/highest.web"

# Runs one generation TRIES times after a first run that creates the document folders.
measure() {
  local label="$1" project="$2" home="$3" best="" line try
  "$cli" --home "$home" generate "$project" --create-subdirectories --quiet >/dev/null 2>&1 || true
  for ((try = 1; try <= ${TRIES:-5}; try++)); do
    sync
    /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" \
      "$cli" --home "$home" generate "$project" --quiet >/dev/null 2>"$work/err.txt" || {
      cat "$work/err.txt" >&2
      exit 1
    }
    line=$(tail -1 "$work/time.txt")
    if [ -z "$best" ] || python3 -c "import sys; sys.exit(0 if ${line%% *} < ${best%% *} else 1)"; then
      best=$line
    fi
  done
  python3 -c "
wall, user, system, kib = '$best'.split()
print(f'$label: {float(wall):.3f} s wall ({float(user) + float(system):.3f} s CPU), '
      f'peak memory {int(kib) / 1024:.1f} MiB')"
}

echo "== small site (3 documents)"
measure "usual limits  " "$small/usual.web" "$work/home-small-usual"
measure "highest limits" "$small/highest.web" "$work/home-small-highest"
cmp -s "$small/site/index.html" <(crlf "<h1>My Site: Index</h1>" '<a href="/x.html">Home</a>') || {
  echo "the small site was not generated as it should be" >&2
  exit 1
}
echo "== 1,250 documents"
measure "usual limits  " "$large/usual.web" "$work/home-large-usual"
measure "highest limits" "$large/highest.web" "$work/home-large-highest"
