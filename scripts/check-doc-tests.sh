#!/usr/bin/env bash
# Fails when docs/tool-qualification.md names a test (`Suite.Name`) that tests/ does not
# define: the failure-mode table must point at tests that exist.
set -euo pipefail
cd "$(dirname "$0")/.."
missing=0
for name in $(grep -oE '`[A-Z][A-Za-z0-9]*\.[A-Z][a-z0-9]+[A-Z][A-Za-z0-9]*`' docs/tool-qualification.md | tr -d '`' | sort -u); do
  suite="${name%%.*}" test="${name#*.}"
  if ! grep -rqE "^TEST(_F|_P)?\($suite, $test\)" tests; then
    echo "docs/tool-qualification.md: kein Test $name in tests/" >&2
    missing=1
  fi
done
exit "$missing"
