#!/usr/bin/env bash
# Live-preview benchmark: on the 1,250-document project, the time from saving one document's
# content file to the reload event the preview sends, median of 20 edits (target: under 100 ms).
#
# usage: [EDITS=20] bench/preview.sh   (from anywhere; installs python3 if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A first run writes every document, so the preview starts with nothing out of date.
generated_site "$work" 25 50
echo "== 1,250 documents: saving f012/d025.par"
python3 bench/preview_latency.py "$cli" "$work/home" "$site/site.web" "$site/src/f012/d025.par" \
  /f012/d025.html "${EDITS:-20}"
