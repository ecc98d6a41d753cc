#!/usr/bin/env bash
# Builds the signed Windows deliverables with a site's own code-signing certificate:
# quenda.exe signed, then the zip and the MSI around it, the MSI signed as well
# (scripts/package-windows.sh). The password comes from QUENDA_SIGN_PASSWORD; a time stamp
# is asked of QUENDA_TIMESTAMP_URL when set.
#   QUENDA_SIGN_PASSWORD=... scripts/sign-windows.sh CERT.p12
set -euo pipefail
[ $# -eq 1 ] || { echo "Aufruf: scripts/sign-windows.sh ZERTIFIKAT.p12 (Passwort in QUENDA_SIGN_PASSWORD)" >&2; exit 2; }
[ -f "$1" ] || { echo "sign-windows: Zertifikat $1 nicht gefunden" >&2; exit 1; }
[ -n "${QUENDA_SIGN_PASSWORD+x}" ] || { echo "sign-windows: QUENDA_SIGN_PASSWORD ist nicht gesetzt" >&2; exit 1; }
QUENDA_SIGN_CERT="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")" \
  exec "$(dirname "$0")/package-windows.sh"
