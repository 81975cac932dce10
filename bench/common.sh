# Sourced by the benchmark scripts, from the repository's root.

# Installs Debian packages (through sudo when not root).
install_packages() {
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq && $sudo apt-get install -y -qq "$@" >/dev/null
}

# Builds the release pentrak-cli in its own optimized tree, without tests (warnings are the
# tests' business, not the benchmark's), and sets cli to its path.
build_release_cli() {
  echo "== building the release pentrak-cli"
  cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPENTRAK_TESTS=OFF \
    -DPENTRAK_WERROR=OFF >/dev/null
  cmake --build build/bench --target pentrak-cli >/dev/null 2>&1 || {
    cmake --build build/bench --target pentrak-cli >&2
    exit 1
  }
  cli="$(pwd)/build/bench/pentrak-cli"
}

# Writes the root pages every synthetic document links to ("/page17.html") into the document
# root OUT, from the links of its first page, so that the site has no broken link.
write_link_targets() {
  local page
  for page in $(grep -oh 'href="/page[0-9]*\.html"' "$1/f000/d000.html" | sort -u |
    sed 's/href="\///;s/"//'); do
    printf '<!DOCTYPE html><title>%s</title>\r\n' "$page" >"$1/$page"
  done
}

# Builds the release pentrak-cli (installing python3 when missing), writes the synthetic site of
# FOLDERS x DOCUMENTS into FOLDER/site and generates it once with FOLDER/home as the program
# folder, so that nothing is out of date, with the pages its links lead to; sets site to the
# project's folder.
generated_site() {
  command -v python3 >/dev/null 2>&1 || install_packages python3
  build_release_cli
  python3 bench/make_site.py "$1/site" "$2" "$3"
  site="$1/site/pentrak"
  "$cli" --home "$1/home" generate "$site/site.web" --create-subdirectories --quiet >/dev/null
  write_link_targets "$site/out"
}

# Sets cli to the pentrak-cli to measure: PENTRAK_CLI=PATH measures another build (an older one,
# to compare), otherwise this tree's release build is made. Installs GNU time when missing.
choose_cli() {
  [ -x /usr/bin/time ] || install_packages time
  if [ -n "${PENTRAK_CLI:-}" ]; then cli="$PENTRAK_CLI"; else build_release_cli; fi
}
