#!/usr/bin/env bash
# Tries the MSI package of scripts/package-windows.sh under Wine in a prefix of its own:
# a silent install into Program Files (quenda.exe, the unchanged Config.ini template, the
# Start-menu shortcut), the installed quenda.exe --version, a package of a higher version
# that upgrades in place and writes the Config.ini entries of its public properties, the
# older package refused, and the silent uninstall that leaves nothing behind.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
read -r major minor patch < <(sed -n 's/^project(quenda VERSION \([0-9]*\)\.\([0-9]*\)\.\([0-9]*\).*/\1 \2 \3/p' CMakeLists.txt)
version="$major.$minor.$patch"
higher="$major.$minor.$((patch + 1))"
dist="$root/build/windows/dist"
msi="$dist/quenda-$version-x64.msi"
[ -f "$msi" ] || { echo "test-msi-windows: $msi fehlt; zuerst scripts/package-windows.sh" >&2; exit 1; }
export QUENDA_WINEPREFIX="$root/build/windows/wineprefix-msi"
./cmake/wine-run.sh --stop-server
rm -rf "$QUENDA_WINEPREFIX" "$QUENDA_WINEPREFIX.lock" "$dist/upgrade"
./cmake/wine-run.sh cmd.exe /c exit >/dev/null 2>&1
installed="$QUENDA_WINEPREFIX/drive_c/Program Files/Quenda"
# The Start-menu shortcut: in the common Start menu on Windows; Wine puts it in the user's.
shortcut() { find "$QUENDA_WINEPREFIX/drive_c" -path '*/Start Menu/Programs/Quenda.lnk' | grep -q .; }
winpath() { echo "Z:$1" | tr / '\\'; }
msiexec() { ./cmake/wine-run.sh msiexec "$@" </dev/null; }
failed=0
check() {  # DESCRIPTION COMMAND...: prints ok or FEHLER
  local what="$1"
  shift
  if "$@"; then echo "ok: $what"; else echo "FEHLER: $what"; failed=1; fi
}
# The DisplayVersion of every installed product named Quenda, one a line.
installed_versions() {
  ./cmake/wine-run.sh reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s |
    tr -d '\r' | awk '/^HKEY/ { name = ""; ver = "" }
      $1 == "DisplayName" { name = $3 } $1 == "DisplayVersion" { ver = $3 }
      name == "Quenda" && ver != "" { print ver; name = "" }'
}
ini_line() { tr -d '\r' <"$installed/Config.ini" | grep -qxF -- "$1"; }
not() { ! "$@"; }

msiexec /i "$(winpath "$msi")" /qn
check "quenda.exe in Program Files\\Quenda" test -f "$installed/quenda.exe"
check "Config.ini ohne Eigenschaften wie die Vorlage" cmp -s "$installed/Config.ini" packaging/windows/Config.ini
check "Verknüpfung im Startmenü" shortcut
check "installierte Version $version" [ "$(installed_versions)" = "$version" ]
shown="$(./cmake/wine-run.sh 'C:\Program Files\Quenda\quenda.exe' --version | tr -d '\r')"
check "quenda.exe --version: $shown" [ "$shown" = "Quenda $major.$minor$patch" ]

# The same program as a higher version, with the site's settings as properties.
mkdir -p "$dist/upgrade"
cp "$dist/quenda.exe" packaging/windows/Config.ini "$dist/upgrade/"
./scripts/build-msi.sh "$dist/upgrade" "$higher" "$dist/upgrade/quenda-$higher-x64.msi"
msiexec /i "$(winpath "$dist/upgrade/quenda-$higher-x64.msi")" /qn \
  'CONFIGPATH=\\srv\tools\TOOLS\Kolpator\Data' 'TOOLSSHAREROOT=\\srv\tools'
check "Upgrade an Ort und Stelle: nur $higher installiert" [ "$(installed_versions)" = "$higher" ]
check "ConfigPath aus CONFIGPATH" ini_line 'ConfigPath=\\srv\tools\TOOLS\Kolpator\Data'
check "ToolsShareRoot aus TOOLSSHAREROOT" ini_line 'ToolsShareRoot=\\srv\tools'
check "ProjectShareRoot ohne Eigenschaft nicht gesetzt" ini_line ';ProjectShareRoot=\\quenda-fs\projekte'
check "alter ConfigPath ersetzt" not ini_line 'ConfigPath=\\quenda-fs\tools\TOOLS\Kolpator\Data'

status=0
msiexec /i "$(winpath "$msi")" /qn || status=$?
check "ältere Version $version abgewiesen (Status $status)" [ "$status" -ne 0 ]
check "weiter nur $higher installiert" [ "$(installed_versions)" = "$higher" ]

msiexec /x "$(winpath "$dist/upgrade/quenda-$higher-x64.msi")" /qn
check "deinstalliert: Programmordner entfernt" [ ! -e "$installed" ]
check "deinstalliert: Verknüpfung entfernt" not shortcut
check "deinstalliert: kein Produkt Quenda mehr" [ -z "$(installed_versions)" ]
./cmake/wine-run.sh --stop-server
exit "$failed"
