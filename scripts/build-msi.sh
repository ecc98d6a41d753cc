#!/usr/bin/env bash
# Builds the MSI package of Quenda with wixl from packaging/windows/quenda.wxs.
#   build-msi.sh DIR VERSION OUT.msi
# DIR holds quenda.exe (signed or not), Config.ini and the reference cases of --qualify
# (qualify/); VERSION is X.Y.Z. The entries of
# Config.ini that public properties set at install time are the table below: one
# component per property, installed only when the property is given, each writing its key
# with the IniFile table (which wixl does not write: it is added to the built package).
set -euo pipefail
cd "$(dirname "$0")/.."
dir="$(cd "$1" && pwd)"
version="$2"
out="$3"
manufacturer="${QUENDA_MANUFACTURER:-Quenda}"
# property   section  key
entries="CONFIGPATH System ConfigPath
PROJECTSHAREROOT Site ProjectShareRoot
TOOLSSHAREROOT Site ToolsShareRoot
FLOWDATANAMESPACEURI Site FlowDataNamespaceUri
PROJECTDRIVE Site ProjectDrive
LOCALTESTDIR Site LocalTestDir
SERIESTOOLSROOT Site SeriesToolsRoot
EDITOR Site Editor"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The components of the entries, their GUIDs derived from the property (stable forever).
guid_of() { python3 -c "import uuid,sys; print(str(uuid.uuid5(uuid.UUID('B0FBAD4D-16B7-4318-8E6F-F26F1BB91392'), sys.argv[1])).upper())" "$1"; }
{
  echo '<?xml version="1.0" encoding="windows-1252"?>'
  echo '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi"><Fragment>'
  echo '<ComponentGroup Id="ConfigIniEntries" Directory="INSTALLDIR">'
  while read -r property section key; do
    echo "<Component Id=\"Ini$key\" Guid=\"$(guid_of "$property")\" Win64=\"yes\"></Component>"
  done <<<"$entries"
  echo '</ComponentGroup></Fragment></Wix>'
} >"$work/entries.wxs"
# The reference cases below INSTALLDIR\qualify: a component per file, its GUID and the ids
# derived from the file's path in the kit (stable as long as the path is).
python3 - "$dir" >"$work/qualify.wxs" <<'PY'
import hashlib, os, sys, uuid
from xml.sax.saxutils import quoteattr
root = sys.argv[1]
ns = uuid.UUID('B0FBAD4D-16B7-4318-8E6F-F26F1BB91392')
def ident(prefix, rel):
    return prefix + hashlib.sha256(rel.encode()).hexdigest()[:32]
components = []
def folder(rel, depth):
    pad = '  ' * depth
    out = []
    for name in sorted(os.listdir(os.path.join(root, rel))):
        sub = rel + '/' + name
        if os.path.isdir(os.path.join(root, sub)):
            out.append(f'{pad}<Directory Id="{ident("D", sub)}" Name={quoteattr(name)}>')
            out += folder(sub, depth + 1)
            out.append(f'{pad}</Directory>')
        else:
            cid = ident("C", sub)
            components.append(cid)
            guid = str(uuid.uuid5(ns, 'qualify:' + sub)).upper()
            out.append(f'{pad}<Component Id="{cid}" Guid="{guid}" Win64="yes">'
                       f'<File Id="{ident("F", sub)}" Name={quoteattr(name)} '
                       f'Source={quoteattr(sub)} KeyPath="yes"/></Component>')
    return out
body = folder('qualify', 3)
print('<?xml version="1.0" encoding="windows-1252"?>')
print('<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi"><Fragment>')
print('  <DirectoryRef Id="INSTALLDIR">')
print('    <Directory Id="QUALIFYDIR" Name="qualify">')
print('\n'.join(body))
print('    </Directory>')
print('  </DirectoryRef>')
print('  <ComponentGroup Id="QualifyKit">')
for cid in components: print(f'    <ComponentRef Id="{cid}"/>')
print('  </ComponentGroup>')
print('</Fragment></Wix>')
PY
# wixl finds the files by names relative to the folder it runs in.
cp "$dir/quenda.exe" "$dir/Config.ini" "${QUENDA_ICON:-build/windows/resources/quenda.ico}" \
  packaging/windows/quenda.wxs "$work/"
cp -R "$dir/qualify" "$work/"
(cd "$work" && wixl -a x64 -D Version="$version" -D Manufacturer="$manufacturer" \
  -o quenda.msi quenda.wxs entries.wxs qualify.wxs)
[ -s "$work/quenda.msi" ] || { echo "build-msi: wixl hat kein Paket geschrieben" >&2; exit 1; }

# The IniFile table (action 0: add the line or replace the key's value) and the conditions
# of its components; WriteIniValues runs after InstallFiles has put Config.ini in place.
{
  printf 'IniFile\tFileName\tDirProperty\tSection\tKey\tValue\tAction\tComponent_\n'
  printf 's72\tl255\tS72\tl96\tl128\tl255\ti2\ts72\n'
  printf 'IniFile\tIniFile\n'
  while read -r property section key; do
    printf 'Ini%s\tConfig.ini\tINSTALLDIR\t%s\t%s\t[%s]\t0\tIni%s\n' "$key" "$section" "$key" "$property" "$key"
  done <<<"$entries"
} >"$work/IniFile.idt"
msibuild "$work/quenda.msi" -i "$work/IniFile.idt"
while read -r property section key; do
  msibuild "$work/quenda.msi" -q "UPDATE \`Component\` SET \`Condition\` = '$property' WHERE \`Component\` = 'Ini$key'"
done <<<"$entries"
if ! msiinfo export "$work/quenda.msi" InstallExecuteSequence | grep -q '^WriteIniValues'; then
  msibuild "$work/quenda.msi" -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('WriteIniValues', 5100)"
fi
# wixl writes the template's language as 1033; the package is German.
package_code="{$(python3 -c 'import uuid; print(str(uuid.uuid4()).upper())')}"
msibuild "$work/quenda.msi" -s "Quenda - Schnittstelle FLOW/SEU" "$manufacturer" "x64;1031" "$package_code"
mv "$work/quenda.msi" "$out"
