#!/usr/bin/env bash
# Live-preview benchmark: on the 1,250- and the 20,000-document projects, the time from saving
# one document's content file to the reload event the preview sends for its page, over 50 edits:
# median and 95th percentile (target: a median under 30 ms on both).
#
# usage: [EDITS=50] bench/preview.sh   (from anywhere; installs python3 if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for size in "25 50 1,250 f012/d025" "100 200 20,000 f050/d100"; do
  read -r folders documents label page <<<"$size"
  rm -rf "$work/site" "$work/home"
  # A first run writes every document; the preview's own first run then finds them the same.
  generated_site "$work" "$folders" "$documents"
  echo "== $label documents: saving src/$page.par (load: $(uptime | sed 's/.*average: //'))"
  python3 bench/preview_latency.py "$cli" "$work/home" "$site/site.web" "$site/src/$page.par" \
    "/$page.html" "${EDITS:-50}"
done
