#!/usr/bin/env bash
# Runs a Windows program under Wine in a throw-away prefix inside the build folder
# ($QUENDA_WINEPREFIX, default: ./wineprefix in the nearest folder holding CMakeCache.txt).
# The first call creates the prefix; parallel callers wait for it.
#   wine-run.sh PROGRAM.exe [ARGS...]   run a program
#   wine-run.sh --start-server          keep one Wine server up for a whole test run
#   wine-run.sh --stop-server           end it and every Wine process of the prefix
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
exec wine "$@"
