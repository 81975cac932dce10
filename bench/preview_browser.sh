#!/usr/bin/env bash
# Live preview in a real browser, run by hand (not in CI): headless Chromium shows one page of
# the 1,250-document project while its content file is saved 20 times; prints the time from
# each save to the new text in the page, median and 95th percentile.
#
# usage: [EDITS=20] bench/preview_browser.sh   (installs Debian's chromium and python3 if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh

command -v chromium >/dev/null 2>&1 || install_packages chromium
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
generated_site "$work" 25 50
echo "== headless Chromium on /f012/d025.html (load: $(uptime | sed 's/.*average: //'))"
python3 bench/preview_browser.py "$cli" "$work/home" "$site/site.web" "$site/src/f012/d025.par" \
  /f012/d025.html "${EDITS:-20}"
