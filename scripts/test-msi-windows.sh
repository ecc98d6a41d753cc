#!/usr/bin/env bash
# Reads the tables of the MSI package of scripts/package-windows.sh back (msiinfo), then
# tries it under Wine in a prefix of its own: a silent install into Program Files (quenda.exe, the unchanged Config.ini template, the
# Start-menu shortcut, the reference cases), the installed quenda.exe --version and its
# --qualify, a package of a higher version
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
# No Wine process outlives the script, whichever way it ends.
trap './cmake/wine-run.sh --stop-server' EXIT
rm -rf "$QUENDA_WINEPREFIX" "$QUENDA_WINEPREFIX.lock" "$dist/upgrade"
./cmake/wine-run.sh cmd.exe /c exit >/dev/null 2>&1
installed="$QUENDA_WINEPREFIX/drive_c/Program Files/Quenda"
# The Start-menu shortcut: in the common Start menu on Windows; Wine puts it in the user's.
shortcut() { find "$QUENDA_WINEPREFIX/drive_c" -path '*/Start Menu/Programs/Quenda.lnk' | grep . >/dev/null; }
winpath() { echo "Z:$1" | tr / '\\'; }
msiexec() { ./cmake/wine-run.sh msiexec "$@" </dev/null; }
failed=0
# The checks read a command's whole output (grep without -q): under pipefail a grep that
# stops at the first match would fail the command that is still writing (SIGPIPE).
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
ini_line() { tr -d '\r' <"$installed/Config.ini" | grep -xF -- "$1" >/dev/null; }
not() { ! "$@"; }

# The package's tables, read back.
table() { msiinfo export "$msi" "$1" | tr -d '\r'; }
has_row() { table "$1" | grep -xF -- "$2" >/dev/null; }
check "Property ProductVersion $version" has_row Property "$(printf 'ProductVersion\t%s' "$version")"
check "Property UpgradeCode fest" has_row Property "$(printf 'UpgradeCode\t{B0FBAD4D-16B7-4318-8E6F-F26F1BB91392}')"
check "Property ALLUSERS 1 (pro Maschine)" has_row Property "$(printf 'ALLUSERS\t1')"
check "Property ProductLanguage 1031" has_row Property "$(printf 'ProductLanguage\t1031')"
check "Summary: x64, Sprache 1031" eval 'msiinfo suminfo "$msi" | grep -x "Template: x64;1031" >/dev/null'
check "File quenda.exe und Config.ini" eval '[ "$(table File | cut -f1,3 | tail -n +4 | grep -v "^F" | sort | tr "\t\n" ":;")" = "Config.ini:Config.ini;quenda.exe:quenda.exe;" ]'
kit_files=$(find build/windows/qualify -type f | wc -l)
check "File: die $kit_files Dateien der Referenzfälle" eval '[ "$(table File | tail -n +4 | grep -c "^F")" -eq "$kit_files" ]'
check "Upgrade: ältere ersetzen, neuere erkennen" eval '[ "$(table Upgrade | tail -n +4 | cut -f7 | sort | tr "\n" " ")" = "WIX_DOWNGRADE_DETECTED WIX_UPGRADE_DETECTED " ]'
check "LaunchCondition: deutsche Meldung beim Downgrade" eval 'table LaunchCondition | grep "NOT WIX_DOWNGRADE_DETECTED.Eine neuere Version von Quenda ist bereits installiert" >/dev/null'
check "Shortcut im Startmenü auf quenda.exe" eval 'table Shortcut | grep "^StartMenuQuenda.ProgramMenuFolder.Quenda.QuendaExe.\[#quenda.exe\]" >/dev/null'
check "IniFile: ConfigPath aus [CONFIGPATH]" has_row IniFile "$(printf 'IniConfigPath\tConfig.ini\tINSTALLDIR\tSystem\tConfigPath\t[CONFIGPATH]\t0\tIniConfigPath')"
check "Component IniConfigPath nur mit CONFIGPATH" eval 'table Component | grep "^IniConfigPath.{[-0-9A-F]*}.INSTALLDIR.[0-9]*.CONFIGPATH" >/dev/null'
check "Paket signiert" eval 'osslsigncode extract-signature -in "$msi" -out "$dist/msi-signature.der" >/dev/null 2>&1'
rm -f "$dist/msi-signature.der"

msiexec /i "$(winpath "$msi")" /qn
check "quenda.exe in Program Files\\Quenda" test -f "$installed/quenda.exe"
check "Config.ini ohne Eigenschaften wie die Vorlage" cmp -s "$installed/Config.ini" packaging/windows/Config.ini
check "Verknüpfung im Startmenü" shortcut
check "installierte Version $version" [ "$(installed_versions)" = "$version" ]
shown="$(./cmake/wine-run.sh 'C:\Program Files\Quenda\quenda.exe' --version | tr -d '\r')"
check "quenda.exe --version: $shown" [ "$shown" = "Quenda $major.$minor$patch" ]
check "Referenzfälle in Program Files\\Quenda\\qualify" \
  diff -r build/windows/qualify "$installed/qualify"
rm -rf "$dist/qualify"
qualify_status=0
./cmake/wine-run.sh 'C:\Program Files\Quenda\quenda.exe' --qualify --out "$(winpath "$dist/qualify")" \
  >"$dist/qualify.out" 2>&1 || qualify_status=$?
tr -d '\r' <"$dist/qualify.out"
check "installiertes quenda.exe --qualify bestanden (Status $qualify_status)" [ "$qualify_status" -eq 0 ]
check "Qualifikationsbericht geschrieben" test -s "$dist/qualify/qualifikation.json"

# The same program as a higher version, with the site's settings as properties.
mkdir -p "$dist/upgrade"
cp "$dist/quenda.exe" packaging/windows/Config.ini "$dist/upgrade/"
cp -R build/windows/qualify "$dist/upgrade/"
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
exit "$failed"
