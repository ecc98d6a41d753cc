#!/usr/bin/env bash
# Runs the Win32 window tests under Wine on a fresh Xvfb display and turns the window's
# screenshot into a PNG beside it. Usage: run-on-xvfb.sh TESTS.exe ARTIFACTS-DIR
# The window gets a Wine prefix of its own: Wine's desktop process belongs to the display
# of the program that started it, and the console tests run without one.
set -euo pipefail
exe="$1"
artifacts="$2"
here="$(cd "$(dirname "$0")" && pwd)"
mkdir -p "$artifacts"  # first: the prefix is found from it
export QUENDA_WINEPREFIX="$(cd "$artifacts/.." && pwd)/wineprefix-gui"
rm -f "$artifacts/win32-window.bmp" "$artifacts/win32-window.png"
status=0
xvfb-run -a -s "-screen 0 1024x768x24" "$here/../../cmake/wine-run.sh" "$exe" || status=$?
"$here/../../cmake/wine-run.sh" --stop-server
if [ -f "$artifacts/win32-window.bmp" ] && command -v convert >/dev/null; then
  convert "$artifacts/win32-window.bmp" "$artifacts/win32-window.png"
  echo "Bildschirmfoto: $artifacts/win32-window.png"
fi
exit "$status"
