#!/usr/bin/env bash
# Window benchmark: the desktop program against pentrak-cli on the same work, in the same run.
# On synthetic projects of 5,000 and 20,000 documents (bench/make_site.py, one folder each, so
# that the documents list holds them all) the real main window, driven offscreen by
# window_driver, runs a full generation, a modified-only generation with nothing to do, a Find
# with no match, a Find with over 1,000 hits and detailed results, and a Replace with over 1,000
# hits and detailed results; pentrak-cli does each beside it. Each line prints both times (best
# of TRIES, the window's start and close included), both peak memories and the ratio, and checks
# window <= 1.3 x pentrak-cli + 0.5 s.
#
# Then: the batch form `pentrak /mode=2 /project=P` offscreen on 10,000 documents against
# `pentrak-cli generate P`, its bound counting the 1.2 s the batch form waits by design; how soon Stop ends a generation and a Find on 20,000 documents; how
# long a refresh and a refill of the documents list take with paths and attributes shown; and
# what 100,000 status lines take in the status list.
#
# usage: [TRIES=3] bench/window.sh   (from anywhere; installs GNU time and python3 if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

source bench/common.sh
[ -x /usr/bin/time ] || install_packages time
command -v python3 >/dev/null 2>&1 || install_packages python3

echo "== building the release programs and the window driver"
build="$root/build/bench-window"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPENTRAK_TESTS=OFF \
  -DPENTRAK_WERROR=OFF -DPENTRAK_BENCH=ON >/dev/null
cmake --build "$build" --target pentrak-cli pentrak window_driver >/dev/null 2>&1 || {
  cmake --build "$build" --target pentrak-cli pentrak window_driver >&2
  exit 1
}
cli="$build/pentrak-cli"
desktop="$build/pentrak"
driver="$build/window_driver"
export QT_QPA_PLATFORM=offscreen

work="$(mktemp -d)"
tries="${TRIES:-3}"
trap 'rm -rf "$work"' EXIT
failed=0
echo "load: $(uptime)"

# Seconds the window waits on purpose in the next comparison, added to its bound.
waits=0

# Prints one comparison from the two measures and checks the window's bound on the wall-clock
# times; the processor times, steadier on a busy machine, follow in brackets.
compare() {
  local what="$1" c_s="$2" c_c="$3" c_k="$4" w_s="$5" w_c="$6" w_k="$7" verdict="ok"
  python3 -c "import sys; sys.exit(0 if $w_s <= 1.3 * $c_s + 0.5 + $waits else 1)" || {
    verdict="OVER"
    failed=1
  }
  printf '%-34s cli %6ss [%6ss] %6s MiB  window %6ss [%6ss] %6s MiB  ratio %5s [%5s]  bound %6ss %s\n' \
    "$what" "$(secs "$c_s")" "$(secs "$c_c")" "$(mib "$c_k")" "$(secs "$w_s")" "$(secs "$w_c")" \
    "$(mib "$w_k")" "$(ratio "$w_s" "$c_s")" "$(ratio "$w_c" "$c_c")" \
    "$(python3 -c "print(f'{1.3 * $c_s + 0.5 + $waits:.3f}')")" "$verdict"
}

# Measures pentrak-cli with the arguments before "--" and the window driver with those after it.
versus() {
  local what="$1" args=() c_s c_c c_k
  shift
  while [ "$1" != "--" ]; do
    args+=("$1")
    shift
  done
  shift
  measure "${args[@]}"
  c_s=$seconds c_c=$cpu_seconds c_k=$peak_kib
  measure "$@"
  compare "$what" "$c_s" "$c_c" "$c_k" "$seconds" "$cpu_seconds" "$peak_kib"
  # The batch form prints nothing of its own.
  grep -E "^(window|results|status):" "$work/out.txt" | sed 's/^/    /' | cut -c1-150 || true
}

# A project of $1 documents in one folder, generated once so that nothing is out of date.
site_of() {
  local n="$1"
  python3 bench/make_site.py "$work/s$n" 1 "$n"
  site="$work/s$n/pentrak"
  home="$work/home$n"
  "$cli" --home "$home" generate "$site/site.web" --create-subdirectories --quiet >/dev/null
}

flip="$root/bench/flip_replace.sh"
export FLIP_FROM="of document 1" FLIP_TO="of document one"
for n in 5000 20000; do
  echo "== $n documents"
  site_of "$n"
  project="$site/site.web"
  versus "generate" "$cli" --home "$home" generate "$project" --quiet -- \
    "$driver" "$home" "$project" generate
  versus "generate --modified-only, no work" \
    "$cli" --home "$home" generate "$project" --modified-only --quiet -- \
    "$driver" "$home" "$project" generate-modified
  versus "find, no match" "$cli" --home "$home" search "no such text anywhere" "$project" -- \
    "$driver" "$home" "$project" find "no such text anywhere"
  versus "find, hits and details" \
    "$cli" --home "$home" search "Paragraph 7 of document 1" "$project" -- \
    "$driver" "$home" "$project" find "Paragraph 7 of document 1"
  # Every try flips the same files one way or back; an even count of tries leaves them as made.
  versus "replace, hits and details" "$flip" pentrak "$site" "$cli" "$home" --details -- \
    "$flip" window "$site" "$driver" "$home"
  echo "-- the documents list, paths and attributes shown"
  "$driver" "$home" "$project" documents | sed 's/^/    /' | cut -c1-150
  if [ "$n" = 20000 ]; then
    echo "-- Stop a second into a run"
    "$driver" "$home" "$project" stop-generate | sed 's/^/    /'
    "$driver" "$home" "$project" stop-find "Paragraph" | sed 's/^/    /'
  else
    echo "-- the status list"
    "$driver" "$home" "$project" status-memory 100000 | sed 's/^/    /'
  fi
done

echo "== 10,000 documents, the batch form"
site_of 10000
# The batch starts on the window's one-second timer and waits two tenths before it closes.
waits=1.2
versus "pentrak /mode=2 against generate" \
  "$cli" --home "$home" generate "$site/site.web" --quiet -- \
  "$desktop" --home "$home" /mode=2 "/project=$site/site.web"

echo "load: $(uptime)"
exit "$failed"
