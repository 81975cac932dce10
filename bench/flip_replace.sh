#!/bin/sh
# One try of the replace comparison: replaces "document 12 in" by "document twelve in" in every
# source file, and back again on the next call, so that every try changes the same files.
#
# usage: flip_replace.sh sed SOURCE_FOLDER
#        flip_replace.sh pentrak PROJECT_FOLDER PENTRAK_CLI HOME
set -e
if [ -e "$2.flipped" ]; then
  rm "$2.flipped"
  from=twelve to=12
else
  touch "$2.flipped"
  from=12 to=twelve
fi
if [ "$1" = sed ]; then
  cd "$2"
  find . -type f \( -name '*.par' -o -name '*.tpl' \) -print0 |
    xargs -0 sed -i "s/document $from in/document $to in/g"
else
  exec "$3" --home "$4" replace "document $from in" "document $to in" "$2/site.web" --yes
fi
