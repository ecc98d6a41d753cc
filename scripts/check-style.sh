#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from what clang-format makes of it with
# the repository's .clang-format (the release preset already turns warnings into errors).
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z '*.cpp' '*.h'
else
  find src tests bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) -print0
fi | xargs -0 clang-format --dry-run -Werror
