#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian, installs it with apt-get, generates the
# sample site as a new user would, then removes the package and checks that nothing of it is
# left under /usr. It installs into this machine's /usr, so run it where that is wanted (a
# build or CI machine), as root or with sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS
fail() {
  echo "package test: $*" >&2
  exit 1
}
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
apt_get() {
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o DPkg::Lock::Timeout=120 "$@"
}

scripts/setup.sh
rm -f build/package/pentrak_*.deb
cmake --preset package >/dev/null
cmake --build --preset package
cpack --preset package >/dev/null
debs=(build/package/pentrak_*_"$(dpkg --print-architecture)".deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single package: ${debs[*]}"
deb="$PWD/${debs[0]}"
echo "== $(basename "$deb")"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends

echo "== lintian"
lintian --fail-on error,warning --display-info --pedantic "$deb"
echo "lintian clean"

echo "== install, first run, remove"
if dpkg-query -W -f='${Status}' pentrak 2>/dev/null | grep -q "install ok installed"; then
  apt_get remove pentrak >/dev/null
fi
apt_get install "$deb" >/dev/null
files="$(dpkg-query -L pentrak)"

# A new user: no settings anywhere, the program found on PATH.
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
(cd "$home" && env -u XDG_DATA_HOME HOME="$home" pentrak-cli generate --quiet) ||
  fail "pentrak-cli generate failed for a new user"
[ -s "$home/.local/share/pentrak/overview/index.html" ] ||
  fail "the sample site was not generated in ~/.local/share/pentrak"
# The triggers of shared-mime-info and desktop-file-utils, not scripts of ours, made the project
# file type and its program known to the desktop.
project_type="$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION HOME="$home" \
  xdg-mime query filetype "$home/.local/share/pentrak/overview/Pentrak CMS Overview.web")"
[ "$project_type" = application/x-pentrak-project ] ||
  fail "the installed MIME database gives the sample project file the type '$project_type'"
if grep -qx /usr/share/applications/pentrak.desktop <<<"$files"; then
  grep -q '^application/x-pentrak-project=.*pentrak.desktop' /usr/share/applications/mimeinfo.cache ||
    fail "the desktop's MIME cache does not name pentrak.desktop for project files"
fi
changed="$(dpkg --verify pentrak || true)"
[ -z "$changed" ] || fail "the first run changed installed files: $changed"
extra="$(comm -13 <(sort <<<"$files") <(find /usr/share/pentrak | sort))"
[ -z "$extra" ] || fail "the first run wrote under /usr/share/pentrak: $extra"

apt_get remove pentrak >/dev/null
left=""
while IFS= read -r path; do
  if [ -e "$path" ] && [ ! -d "$path" ]; then left+="$path"$'\n'; fi
done <<<"$files"
for folder in /usr/share/pentrak /usr/share/doc/pentrak; do
  [ ! -e "$folder" ] || left+="$folder"$'\n'
done
left+="$(find /usr -path /usr/local -prune -o -name '*pentrak*' -print)"
[ -z "$left" ] || fail "apt-get remove left files behind: $left"
for cache in /usr/share/applications/mimeinfo.cache /usr/share/mime/types; do
  if [ -f "$cache" ] && grep -q pentrak "$cache"; then fail "$cache still names pentrak"; fi
done
echo "package test passed in $((SECONDS - start)) s"
