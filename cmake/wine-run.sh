#!/usr/bin/env bash
# Runs a Windows program under Wine in a throw-away prefix inside the build folder
# ($QUENDA_WINEPREFIX, default: ./wineprefix below the current folder's build root).
# The first call creates the prefix; parallel callers wait for it.
set -euo pipefail
prefix="${QUENDA_WINEPREFIX:-${WINEPREFIX:-}}"
if [ -z "$prefix" ]; then
  dir="$PWD"
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir="$(dirname "$dir")"; done
  [ "$dir" = / ] && dir="$PWD"
  prefix="$dir/wineprefix"
fi
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/.quenda-ready" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
    touch "$prefix/.quenda-ready"
  fi
  # One server for a whole test run: a server that ends between two test programs makes
  # the next one fail ("Connection reset by peer"). It ends 20 s after its last client.
  wineserver -p20 >/dev/null 2>&1 9>&- || true
) 9>"$prefix.lock"
exec wine "$@"
