#!/usr/bin/env bash
# Installs what the Windows cross build and its tests under Wine need on Debian 12
# (mingw-w64, Wine, Xvfb, the GoogleTest sources, a deb-src line for libxml2) and builds
# libxml2 for mingw into the cache folder (scripts/build-libxml2-mingw.sh). Idempotent.
set -euo pipefail
cd "$(dirname "$0")/.."
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  $SUDO tee /etc/apt/sources.list.d/quenda-deb-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  cmake ninja-build make dpkg-dev g++-mingw-w64-x86-64-posix googletest \
  wine wine64 xvfb xauth x11-apps imagemagick >/dev/null
./scripts/build-libxml2-mingw.sh >/dev/null
