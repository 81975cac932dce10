#!/bin/sh
# One try of a replace comparison: replaces FLIP_FROM (default "document 12 in") by FLIP_TO
# (default "document twelve in") in every source file, and back again on the next call, so that
# every try changes the same files.
#
# usage: flip_replace.sh sed SOURCE_FOLDER
#        flip_replace.sh pentrak PROJECT_FOLDER PENTRAK_CLI HOME [OPTION...]
#        flip_replace.sh window PROJECT_FOLDER WINDOW_DRIVER HOME
set -e
a="${FLIP_FROM:-document 12 in}"
b="${FLIP_TO:-document twelve in}"
if [ -e "$2.flipped" ]; then
  rm "$2.flipped"
  from=$b to=$a
else
  touch "$2.flipped"
  from=$a to=$b
fi
case "$1" in
  sed)
    cd "$2"
    find . -type f \( -name '*.par' -o -name '*.tpl' \) -print0 |
      xargs -0 sed -i "s/$from/$to/g"
    ;;
  pentrak)
    tool="$3" project="$2" home="$4"
    shift 4
    exec "$tool" --home "$home" replace "$from" "$to" "$project/site.web" --yes "$@"
    ;;
  window)
    exec "$3" "$4" "$2/site.web" replace "$from" "$to"
    ;;
esac
