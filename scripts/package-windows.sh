#!/usr/bin/env bash
# Packs the release zip of the Windows build: quenda.exe and the Config.ini template
# (packaging/windows/Config.ini) in build/windows/quenda-VERSION-win64.zip. Needs the
# build of the preset windows (scripts/test-windows.sh or cmake --build --preset windows).
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(quenda VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
exe="build/windows/quenda.exe"
[ -f "$exe" ] || { echo "package-windows: $exe fehlt; zuerst bauen" >&2; exit 1; }
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
cp "$exe" packaging/windows/Config.ini "$stage/"
zip="$PWD/build/windows/quenda-$version-win64.zip"
rm -f "$zip"
(cd "$stage" && cmake -E tar cf "$zip" --format=zip quenda.exe Config.ini)
echo "$zip"
