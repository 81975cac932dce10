#!/usr/bin/env bash
# Sets everything up, builds Pentrak CMS and generates the sample site. The release build tree
# is the program folder: a first run creates its settings files without asking. Ends by
# printing the path of the sample site's home page.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target pentrak-cli
home="$PWD/build/release"
"$home/pentrak-cli" --home "$home" generate "$home/overview/Pentrak CMS Overview.web"
echo
echo "Sample site: $home/overview/index.html"
