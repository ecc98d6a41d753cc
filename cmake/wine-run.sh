#!/usr/bin/env bash
# Runs a Windows program under Wine in a throw-away prefix inside the build folder
# ($QUENDA_WINEPREFIX, default: ./wineprefix in the nearest folder holding CMakeCache.txt).
# The first call creates the prefix; parallel callers wait for it.
#   wine-run.sh PROGRAM.exe [ARGS...]   run a program
#   wine-run.sh --start-server          keep one Wine server up for a whole test run
#   wine-run.sh --stop-server           end it and every Wine process of the prefix
# A program that fails without printing anything at all has not started: under a loaded
# machine Wine's start-up sometimes fails so. Such a run is tried once more, saying so on
# standard error; a program that printed anything has run, and its failure stands.
# $QUENDA_WINE names the wine command (default: wine).
set -euo pipefail
prefix="${QUENDA_WINEPREFIX:-}"
if [ -z "$prefix" ]; then
  dir="$PWD"
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir="$(dirname "$dir")"; done
  [ "$dir" = / ] && dir="$PWD"
  prefix="$dir/wineprefix"
fi
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ "${1:-}" = --stop-server ]; then
  [ -d "$prefix" ] || exit 0
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  exit 0
fi
mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/.quenda-ready" ]; then
    wineboot -i >/dev/null 2>&1 9>&- || true
    wineserver -w 9>&- || true
    touch "$prefix/.quenda-ready"
  fi
) 9>"$prefix.lock"
if [ "${1:-}" = --start-server ]; then
  # A server that ends between two test programs makes the next one fail or hang. The
  # first program of a server starts Wine's services, which live as long as the server:
  # start them here, away from the output pipes that the test runner waits on.
  wineserver -p >/dev/null 2>&1 </dev/null || true
  wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
  exit 0
fi
wine="${QUENDA_WINE:-wine}"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
for attempt in 1 2; do
  set +e
  "$wine" "$@" | tee "$out"
  status=${PIPESTATUS[0]}
  set -e
  if [ "$status" -eq 0 ] || [ -s "$out" ] || [ "$attempt" -eq 2 ]; then exit "$status"; fi
  echo "wine-run: no output at all, retrying once (Wine start-up)" >&2
done
