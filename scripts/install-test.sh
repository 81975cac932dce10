#!/usr/bin/env bash
# Installs a built tree into a staging folder and checks it as a desktop install: the installed
# files, the menu entry, the project file type in a user's MIME database, and a first run that
# seeds the user's program folder, generates the sample there and writes nothing under the
# prefix. Usage: scripts/install-test.sh [BUILD_DIR]   (default build/dev, already built)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/dev}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
stage="$work/stage"
fail() {
  echo "install test: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$stage" >/dev/null

# The desktop program is another target; its files are expected only when it was built.
desktop=false
if [ -n "$(find "$build" -maxdepth 4 -type f -name pentrak -perm -u+x -print -quit)" ]; then
  desktop=true
fi

expected=(bin/pentrak-cli share/doc/pentrak/changelog.gz share/doc/pentrak/copyright
  share/lintian/overrides/pentrak share/man/man1/pentrak-cli.1.gz share/mime/packages/pentrak.xml)
sizes=(16 22 24 32 48 64 128 256)
if $desktop; then
  expected+=(bin/pentrak share/applications/pentrak.desktop share/man/man1/pentrak.1.gz
    share/icons/hicolor/scalable/apps/pentrak.svg)
  for size in "${sizes[@]}"; do expected+=("share/icons/hicolor/${size}x${size}/apps/pentrak.png"); done
fi
diff -u <(printf '%s\n' "${expected[@]}" | sort) \
  <(cd "$stage" && find . -path ./share/pentrak -prune -o ! -type d -printf '%P\n' | sort) ||
  fail "the installed files differ from the expected list (- expected, + installed)"
diff -r samples "$stage/share/pentrak/samples" ||
  fail "share/pentrak/samples differs from samples/"

# Each PNG's header holds its width and height as 32-bit big-endian numbers at bytes 16 to 23.
if $desktop; then
  for size in "${sizes[@]}"; do
    read -r -a b < <(od -An -tu1 -j16 -N8 "$stage/share/icons/hicolor/${size}x${size}/apps/pentrak.png")
    width=$(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3]))
    height=$(((b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7]))
    [ "$width" = "$size" ] && [ "$height" = "$size" ] ||
      fail "the ${size}x${size} icon is ${width}x${height}"
  done
  desktop-file-validate "$stage/share/applications/pentrak.desktop"
fi
desktop-file-validate packaging/pentrak.desktop

# A first run as a new user: the program folder is $XDG_DATA_HOME/pentrak, seeded from the
# staged share/pentrak/, and the staged tree stays as it was installed.
data="$work/data"
mkdir -p "$work/home" "$data"
before="$(find "$stage" -printf '%P %s %T@ %m\n' | sort)"
if ! (cd "$work" && HOME="$work/home" XDG_DATA_HOME="$data" \
  "$stage/bin/pentrak-cli" generate --quiet) >"$work/first-run.txt" 2>&1; then
  cat "$work/first-run.txt" >&2
  fail "the installed pentrak-cli could not generate the sample project"
fi
[ -s "$data/pentrak/overview/index.html" ] || fail "no sample site in $data/pentrak/overview"
[ "$before" = "$(find "$stage" -printf '%P %s %T@ %m\n' | sort)" ] ||
  fail "the first run wrote under the install prefix"

# The project file type, installed into the user's MIME database: the sample project file is a
# project; a web page that merely ends in .web is not. No desktop is named, so xdg-mime asks the
# shared MIME database directly.
mkdir -p "$data/mime/packages"
cp "$stage/share/mime/packages/pentrak.xml" "$data/mime/packages/"
XDG_DATA_HOME="$data" update-mime-database "$data/mime"
printf '<html><body>Not a project</body></html>\n' >"$work/page.web"
filetype() {
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
    XDG_DATA_HOME="$data" xdg-mime query filetype "$1"
}
project_type="$(filetype "$data/pentrak/overview/Pentrak CMS Overview.web")"
[ "$project_type" = application/x-pentrak-project ] ||
  fail "the sample project file has the type '$project_type'"
page_type="$(filetype "$work/page.web")"
[ "$page_type" != application/x-pentrak-project ] || fail "a web page ending in .web was claimed"

echo "install test passed ($([ "$desktop" = true ] && echo "with" || echo "without") the desktop program)"
