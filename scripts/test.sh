#!/usr/bin/env bash
# Builds the release and asan presets and runs all tests of both.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in release asan; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
