#!/usr/bin/env bash
# Live-preview load benchmark: peak memory of the preview while 4 clients fetch a 300 MiB file
# at once (a .bin file, then a page that gets the reload script), and requests answered per
# second with 64 open event streams and 40 clients that never finish their request. The
# document root lies on a tmpfs of limited size, so that the large files touch no shared disk.
#
# usage: [FILE_MIB=300] bench/preview_load.sh   (as root, for the tmpfs; installs python3)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh

mib="${FILE_MIB:-300}"
work="$(mktemp -d)"
mount -t tmpfs -o size=$((2 * mib + 64))m pentrak-bench "$work"
trap 'umount "$work"; rmdir "$work"' EXIT
generated_site "$work" 1 2
echo "== preview under load (uptime: $(uptime | sed 's/.*load/load/'))"
python3 bench/preview_load.py "$cli" "$work/home" "$site/site.web" "$site/out" "$mib"
