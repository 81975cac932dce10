#!/usr/bin/env bash
# Runaway-document benchmark: a macro whose value holds its own tag on two lines doubles the
# document every pass. The run must end that document with the size error within 10 s, holding
# under 1 GiB of memory and of work files. Prints the wall time, the peak resident set, the peak
# size of the work folder (sampled every 20 ms) and what is left in it, for each try. On a busy
# machine the CPU time (user + system) tells more than the wall time.
#
# usage: [TRIES=3] [PENTRAK_CLI=PATH] bench/doubling.sh   (from anywhere; installs GNU time if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
[ -x /usr/bin/time ] || install_packages time
# PENTRAK_CLI=PATH measures another build (an older one, to compare) instead of this tree's.
if [ -n "${PENTRAK_CLI:-}" ]; then cli="$PENTRAK_CLI"; else build_release_cli; fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src" "$work/site"
printf 'name=Doubling\r\ncontent-root=%s\r\ndocument-root=%s\r\ndefinition-file=project.txt\r\nmax-nested-macros=100\r\n' \
  "$work/src" "$work/site" >"$work/site.web"
printf '[Main]\r\nindex.html,page.tpl,page.par!\r\n' >"$work/src/project.txt"
printf '[@TWICE]\r\n' >"$work/src/page.tpl"
printf '[@TWICE]:\r\n[@TWICE]\r\n[@TWICE]\r\n[@]\r\n' >"$work/src/page.par"
"$cli" --home "$work/home" projects >/dev/null 2>&1

for ((try = 1; try <= ${TRIES:-3}; try++)); do
  sync
  # The largest the work folder gets, sampled while the run lasts.
  (
    peak=0
    while [ ! -e "$work/done" ]; do
      size=$(du -sk "$work/home/temp" 2>/dev/null | cut -f1)
      [ "${size:-0}" -gt "$peak" ] && peak=$size
      sleep 0.02
    done
    echo "$peak" >"$work/peak-disk"
  ) &
  sampler=$!
  start=$(date +%s%N)
  /usr/bin/time -f "%M %U %S" -o "$work/time.txt" \
    "$cli" --home "$work/home" generate "$work/site.web" >"$work/out.txt" 2>"$work/err.txt" || true
  end=$(date +%s%N)
  touch "$work/done"
  wait "$sampler"
  rm -f "$work/done"
  python3 -c "
wall = ($end - $start) / 1e9
kib, user, system = '$(tail -1 "$work/time.txt")'.split()
rss = int(kib) / 1024
cpu = float(user) + float(system)
disk = $(cat "$work/peak-disk") / 1024
print(f'try $try: {wall:.2f} s wall ({cpu:.2f} s CPU), peak memory {rss:.0f} MiB, '
      f'peak work folder {disk:.0f} MiB')"
  echo "  left in the work folder: $(ls "$work/home/temp" | tr '\n' ' ')"
done
echo "== the error"
grep -a "grew beyond" "$work/home/temp/pentrak.txt" || {
  echo "the run did not end with the size error" >&2
  exit 1
}
