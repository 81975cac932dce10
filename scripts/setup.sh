#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build Pentrak CMS, from Debian's packages.
set -euo pipefail

# The last line serves the install: icons, the menu entry and MIME checks, the package check.
packages=(build-essential cmake ninja-build libcli11-dev libgtest-dev libgmock-dev libgumbo-dev
  libbenchmark-dev clang-format clang libclang-rt-14-dev pkg-config libcpp-httplib-dev
  qt6-base-dev xvfb xauth fonts-dejavu-core gcovr
  librsvg2-bin desktop-file-utils shared-mime-info xdg-utils libfile-mimeinfo-perl lintian)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi
