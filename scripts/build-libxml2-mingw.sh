#!/usr/bin/env bash
# Builds a static libxml2 for 64-bit Windows (mingw-w64) from Debian's own source package
# and installs it into a cache folder outside the source tree; prints that folder.
# Idempotent: a finished build (marked by .done) is kept. Needs a deb-src line for
# bookworm (scripts/setup-windows.sh adds one).
#   QUENDA_MINGW_CACHE  the cache folder (default: $HOME/.cache/quenda)
set -euo pipefail
cache="${QUENDA_MINGW_CACHE:-$HOME/.cache/quenda}"
prefix="$cache/libxml2-mingw"
if [ -f "$prefix/.done" ]; then
  echo "$prefix"
  exit 0
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "build-libxml2-mingw: $1" >&2; [ -f "$2" ] && tail -30 "$2" >&2; exit 1; }
cd "$work"
apt-get source -qq libxml2 >"$work/source.log" 2>&1 || fail "apt-get source libxml2 failed" "$work/source.log"
cd libxml2-*/
# Debian's patches touch Makefile.am (tests, docs only): keep the shipped configure and
# Makefile.in newer than their inputs so that no autotools run is needed.
touch aclocal.m4 && sleep 1 && touch configure config.h.in && find . -name Makefile.in -exec touch {} +
./configure --host=x86_64-w64-mingw32 --prefix="$prefix" \
  --without-python --without-zlib --without-lzma --without-http --without-ftp \
  --disable-shared >"$work/configure.log" 2>&1 || fail "configure failed" "$work/configure.log"
make -j"$(nproc)" libxml2.la >"$work/make.log" 2>&1 || fail "make failed" "$work/make.log"
{
  make install-libLTLIBRARIES install-pkgconfigDATA install-binSCRIPTS
  make -C include install
} >"$work/install.log" 2>&1 || fail "install failed" "$work/install.log"
touch "$prefix/.done"
echo "$prefix"
