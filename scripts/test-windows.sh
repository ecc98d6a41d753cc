#!/usr/bin/env bash
# Cross-builds quenda.exe for 64-bit Windows with mingw-w64, runs the Windows tests under
# Wine (the native window on Xvfb) and the sample job under Wine with real drive letters,
# compared with the Debian run. Installs what it needs first (setup-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup-windows.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
status=0
ctest --preset windows || status=$?
# No Wine process may outlive the run (a calling CI waits for its output pipes).
for prefix in wineprefix wineprefix-gui; do
  QUENDA_WINEPREFIX="$PWD/build/windows/$prefix" ./cmake/wine-run.sh --stop-server || true
done
[ "$status" -eq 0 ] || exit "$status"
./scripts/run-sample-windows.sh
./scripts/package-windows.sh
