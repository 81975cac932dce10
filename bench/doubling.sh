#!/usr/bin/env bash
# Runaway-document benchmark: a macro whose value holds its own tag makes the document grow
# every pass, and the run must end that document with a size error, holding little memory and
# leaving no work files. KIND chooses the growth:
#   doubling     the tag twice, on two lines: the document doubles every pass until one pass
#                passes the 256 MiB bound (max-nested-macros 100);
#   linear       the tag once and 4 MiB of 64-byte lines: the document grows by 4 MiB a pass and
#                no pass nears 256 MiB, so only the 1 GiB bound on all the passes' work files
#                stops it (max-nested-macros 32767);
#   linear-line  the same with the 4 MiB on the tag's own line, which grows by 4 MiB a pass.
# Targets: the error within 10 s (doubling) or 5 s (linear), under 512 MiB of memory, and
# nothing of the document's left in the work folder.
#
# The work folder lies on a tmpfs of TMPFS_MIB (default 1280: room for the bound and no more)
# when run as root, and the program runs under "ulimit -v" of ULIMIT_V_MIB (default 512), so a
# regression fails here instead of filling the machine. Prints, for each try, the wall and CPU
# time, the peak resident set, the peak size of the work folder (sampled every 20 ms) and what
# is left in it. On a busy machine the CPU time (user + system) tells more than the wall time.
#
# usage: [KIND=doubling] [TRIES=3] [TMPFS_MIB=1280] [ULIMIT_V_MIB=512] [PENTRAK_CLI=PATH]
#        bench/doubling.sh   (from anywhere; installs GNU time if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
choose_cli
kind="${KIND:-doubling}"

work="$(mktemp -d)"
mkdir -p "$work/src" "$work/site" "$work/home/temp"
cleanup() {
  mountpoint -q "$work/home/temp" && umount "$work/home/temp"
  rm -rf "$work"
}
trap cleanup EXIT
if [ "$(id -u)" -eq 0 ]; then
  mount -t tmpfs -o "size=${TMPFS_MIB:-1280}m" tmpfs "$work/home/temp"
  echo "== work folder on a tmpfs of ${TMPFS_MIB:-1280} MiB, under ulimit -v ${ULIMIT_V_MIB:-512} MiB"
else
  echo "== not root: the work folder stays on the disk; under ulimit -v ${ULIMIT_V_MIB:-512} MiB"
fi

case "$kind" in
  doubling)
    nested=100
    printf '[@TWICE]:\r\n[@TWICE]\r\n[@TWICE]\r\n[@]\r\n' >"$work/src/page.par"
    ;;
  linear | linear-line)
    nested=32767
    python3 - "$work/src/page.par" "$kind" <<'PY'
import sys
path, kind = sys.argv[1], sys.argv[2]
if kind == "linear":
    value = "[@GROW]\r\n" + "\r\n".join(["x" * 62] * 65536)
else:
    value = "[@GROW]" + "y" * (4 << 20)
with open(path, "w", newline="") as f:
    f.write("[@GROW]:\r\n" + value + "\r\n[@]\r\n")
PY
    ;;
  *)
    echo "unknown KIND $kind" >&2
    exit 2
    ;;
esac
tag=$([ "$kind" = doubling ] && echo '[@TWICE]' || echo '[@GROW]')
printf 'name=Runaway\r\ncontent-root=%s\r\ndocument-root=%s\r\ndefinition-file=project.txt\r\nmax-nested-macros=%s\r\n' \
  "$work/src" "$work/site" "$nested" >"$work/site.web"
printf '[Main]\r\nindex.html,page.tpl,page.par!\r\n' >"$work/src/project.txt"
printf '%s\r\n' "$tag" >"$work/src/page.tpl"
"$cli" --home "$work/home" projects >/dev/null 2>&1

for ((try = 1; try <= ${TRIES:-3}; try++)); do
  sync
  # The largest the work folder gets, sampled while the run lasts.
  (
    peak=0
    while [ ! -e "$work/done" ]; do
      # du fails on a file removed while it looks: that sample counts what it saw.
      size=$(du -sk "$work/home/temp" 2>/dev/null | cut -f1) || true
      [ "${size:-0}" -gt "$peak" ] && peak=$size
      sleep 0.02
    done
    echo "$peak" >"$work/peak-disk"
  ) &
  sampler=$!
  start=$(date +%s%N)
  (
    ulimit -v $((${ULIMIT_V_MIB:-512} * 1024))
    exec /usr/bin/time -f "%M %U %S" -o "$work/time.txt" \
      "$cli" --home "$work/home" generate "$work/site.web" >"$work/out.txt" 2>"$work/err.txt"
  ) || true
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
  echo "the run did not end with the size error:" >&2
  cat "$work/err.txt" >&2
  exit 1
}
