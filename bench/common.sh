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

# Sets cli to the pentrak-cli to measure: PENTRAK_CLI=PATH measures another build (an older one,
# to compare), otherwise this tree's release build is made. Installs GNU time when missing.
choose_cli() {
  [ -x /usr/bin/time ] || install_packages time
  if [ -n "${PENTRAK_CLI:-}" ]; then cli="$PENTRAK_CLI"; else build_release_cli; fi
}
