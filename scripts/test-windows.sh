#!/usr/bin/env bash
# Cross-builds quenda.exe for 64-bit Windows with mingw-w64, runs the Windows tests under
# Wine (the native window on Xvfb, screenshots at 96 and 144 DPI), packs the signed zip
# and MSI, runs the sample job with the installed program under Wine with real drive
# letters, compared with the Debian run, and tries the MSI's upgrade and uninstall.
# Installs what it needs first (setup-windows.sh).
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
# The signed deliverables, then the sample job run by the program the MSI installed, then
# the MSI's install, upgrade, downgrade and uninstall.
./scripts/package-windows.sh
version=$(sed -n 's/^project(quenda VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
QUENDA_SAMPLE_MSI="build/windows/dist/quenda-$version-x64.msi" ./scripts/run-sample-windows.sh
./scripts/test-msi-windows.sh
