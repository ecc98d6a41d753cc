#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need (idempotent).
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  libxml2-dev libgcrypt20-dev libgtest-dev libgmock-dev qt6-base-dev qt6-translations-l10n \
  nlohmann-json3-dev clang-format \
  clang libclang-rt-14-dev >/dev/null
