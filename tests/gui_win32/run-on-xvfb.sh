#!/usr/bin/env bash
# Runs the Win32 window tests under Wine on a fresh Xvfb display at 96 DPI, then the
# screenshot test once more at 144 DPI (Wine's LogPixels) on a larger screen, and turns
# each screenshot (the window at both DPIs, the plan box of the Vorschau at 96) into a PNG
# beside it. Usage: run-on-xvfb.sh TESTS.exe ARTIFACTS-DIR
# The window gets a Wine prefix of its own: Wine's desktop process belongs to the display
# of the program that started it, and the console tests run without one.
set -euo pipefail
exe="$1"
artifacts="$2"
here="$(cd "$(dirname "$0")" && pwd)"
wine_run="$here/../../cmake/wine-run.sh"
mkdir -p "$artifacts"  # first: the prefix is found from it
export QUENDA_WINEPREFIX="$(cd "$artifacts/.." && pwd)/wineprefix-gui"
rm -f "$artifacts"/win32-window*.bmp "$artifacts"/win32-window*.png \
  "$artifacts"/win32-vorschau*.bmp "$artifacts"/win32-vorschau*.png
set_dpi() {  # the DPI the next Wine programs of the prefix see
  "$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
    >/dev/null 2>&1
  "$wine_run" --stop-server
}
status=0
set_dpi 96
xvfb-run -a -s "-screen 0 1024x768x24" "$wine_run" "$exe" || status=$?
"$wine_run" --stop-server
set_dpi 144
xvfb-run -a -s "-screen 0 1600x1200x24" "$wine_run" "$exe" \
  --gtest_filter='Win32WindowTest.ShownWindow*:Win32WindowTest.InputBox*' || status=$?
"$wine_run" --stop-server
set_dpi 96
for bmp in "$artifacts"/win32-window-96dpi.bmp "$artifacts"/win32-window-144dpi.bmp \
  "$artifacts"/win32-vorschau-96dpi.bmp; do
  if [ ! -f "$bmp" ]; then
    echo "kein Bildschirmfoto: $bmp fehlt" >&2
    status=1
    continue
  fi
  convert "$bmp" "${bmp%.bmp}.png"
  echo "Bildschirmfoto: ${bmp%.bmp}.png"
done
exit "$status"
