#!/usr/bin/env bash
# Draws the main window under Xvfb on the sample project in a fresh program folder and writes
# PNGs into DIR: after loading, after a generation, with paths, attributes and macros shown, two
# of the file viewers, the dialogs (each tab, both wizard steps), the Find, Replace and Replace
# Special windows, the Check Links window, and the four-button question box.
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: scripts/screenshot.sh DIR" >&2
  exit 2
fi
out="$(mkdir -p "$1" && cd "$1" && pwd)"
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target pentrak pentrak_screenshots
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
xvfb-run -a -s "-screen 0 1600x1000x24" build/dev/pentrak_screenshots "$out" "$home"
