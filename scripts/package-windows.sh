#!/usr/bin/env bash
# Packs the Windows deliverables of the build of the preset windows in build/windows/dist:
# quenda.exe signed (Authenticode, SHA-256), the zip quenda-VERSION-win64.zip (quenda.exe
# the Config.ini template and qualify/) for those who unpack, and the MSI quenda-VERSION-x64.msi
# (scripts/build-msi.sh), signed too. The certificate is QUENDA_SIGN_CERT (a .p12, password
# in QUENDA_SIGN_PASSWORD; scripts/sign-windows.sh sets both); without it a throw-away test
# certificate is made (make-test-cert.sh) and every signature is checked against its CA.
# Both hold the reference cases of quenda --qualify (qualify/, made by the build). A time stamp is asked of QUENDA_TIMESTAMP_URL when set.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(quenda VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
exe="build/windows/quenda.exe"
[ -f "$exe" ] || { echo "package-windows: $exe fehlt; zuerst bauen" >&2; exit 1; }
dist="$PWD/build/windows/dist"
cert="${QUENDA_SIGN_CERT:-}"
password="${QUENDA_SIGN_PASSWORD:-}"
ca=""
if [ -z "$cert" ]; then
  ./scripts/make-test-cert.sh build/windows/test-cert
  cert="$PWD/build/windows/test-cert/signer.p12" password="test"
  ca="$PWD/build/windows/test-cert/ca.pem"
fi
sign() {  # FILE: signed in place (through a temporary file beside it)
  local timestamp=()
  [ -z "${QUENDA_TIMESTAMP_URL:-}" ] || timestamp=(-ts "$QUENDA_TIMESTAMP_URL")
  rm -f "$1.signed"
  if ! osslsigncode sign -pkcs12 "$cert" -pass "$password" -h sha256 -n "Quenda" \
    "${timestamp[@]}" -in "$1" -out "$1.signed" >/dev/null; then
    rm -f "$1.signed"
    echo "package-windows: $1 konnte nicht signiert werden" >&2
    exit 1
  fi
  mv "$1.signed" "$1"
  if [ -n "$ca" ]; then
    osslsigncode verify -CAfile "$ca" -in "$1" >/dev/null ||
      { echo "package-windows: Signatur von $1 nicht gültig" >&2; exit 1; }
  fi
}
# Everything is made in a folder of its own and replaces dist/ only when all of it is done.
work="$(mktemp -d "$PWD/build/windows/dist-XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/stage" "$work/out"
cp "$exe" packaging/windows/Config.ini "$work/stage/"
[ -f build/windows/qualify/cases.json ] ||
  { echo "package-windows: build/windows/qualify fehlt; zuerst bauen" >&2; exit 1; }
cp -R build/windows/qualify "$work/stage/"
sign "$work/stage/quenda.exe"
(cd "$work/stage" && cmake -E tar cf "$work/out/quenda-$version-win64.zip" --format=zip quenda.exe Config.ini qualify)
./scripts/build-msi.sh "$work/stage" "$version" "$work/out/quenda-$version-x64.msi"
sign "$work/out/quenda-$version-x64.msi"
cp "$work/stage/quenda.exe" "$work/out/"
rm -rf "$dist"
mv "$work/out" "$dist"
printf '%s\n' "$dist/quenda.exe" "$dist/quenda-$version-win64.zip" "$dist/quenda-$version-x64.msi"
