#!/usr/bin/env bash
# Installs what the Windows cross build and its tests under Wine need on Debian 12
# (mingw-w64, Wine, Xvfb, the GoogleTest sources, a deb-src line for libxml2; ImageMagick
# for the icon, wixl and msitools for the MSI, osslsigncode for the signatures) and builds
# libxml2 for mingw into the cache folder (scripts/build-libxml2-mingw.sh). Idempotent.
set -euo pipefail
cd "$(dirname "$0")/.."
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
# The deb-src entries are the machine's own deb entries of this release's suites, so the
# sources come from wherever its packages come from.
codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
deb822_sources() {  # each deb stanza of the release's suites, as deb-src
  awk -v rel="$codename" '
    function flush() { if (isdeb && hasrel) printf "%s\n", stanza; stanza = ""; isdeb = 0; hasrel = 0 }
    /^[ \t]*$/ { flush(); next }
    /^#/ { next }
    /^Types:/ { isdeb = ($0 ~ /[ \t]deb([ \t]|$)/); stanza = stanza "Types: deb-src\n"; next }
    /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == rel || index($i, rel "-") == 1) hasrel = 1 }
    { stanza = stanza $0 "\n" }
    END { flush() }' "$@"
}
one_line_sources() {  # each "deb" line of the release's suites, as deb-src
  awk -v rel="$codename" '$1 == "deb" {
      for (i = 2; i <= NF; i++) if ($i == rel || index($i, rel "-") == 1) { sub(/^deb/, "deb-src"); print; next }
    }' "$@"
}
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  shopt -s nullglob
  deb822_files=(/etc/apt/sources.list.d/*.sources)
  line_files=(/etc/apt/sources.list /etc/apt/sources.list.d/*.list)
  shopt -u nullglob
  [ -e "${line_files[0]}" ] || line_files=("${line_files[@]:1}")
  stanzas="" lines=""
  [ "${#deb822_files[@]}" -eq 0 ] || stanzas="$(deb822_sources "${deb822_files[@]}")"
  [ "${#line_files[@]}" -eq 0 ] || lines="$(one_line_sources "${line_files[@]}")"
  if [ -z "$stanzas" ] && [ -z "$lines" ]; then
    echo "setup-windows: keine deb-Quelle für $codename in der apt-Konfiguration gefunden" >&2
    exit 1
  fi
  [ -z "$stanzas" ] || printf '%s\n' "$stanzas" | $SUDO tee /etc/apt/sources.list.d/quenda-deb-src.sources >/dev/null
  [ -z "$lines" ] || printf '%s\n' "$lines" | $SUDO tee /etc/apt/sources.list.d/quenda-deb-src.list >/dev/null
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  cmake ninja-build make dpkg-dev g++-mingw-w64-x86-64-posix googletest \
  libgcrypt-mingw-w64-dev libgpg-error-mingw-w64-dev \
  wine wine64 xvfb xauth x11-apps imagemagick wixl msitools osslsigncode openssl \
  python3 locales >/dev/null
# The batch-file tests also run under a German console (LANG=de_DE.UTF-8: OEM code page 850).
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  $SUDO sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
./scripts/build-libxml2-mingw.sh >/dev/null
