#!/usr/bin/env bash
# Builds the release preset and runs the sample site's job headless in a fresh copy of
# examples/ under build/sample, then lists what the run wrote.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release
work="$PWD/build/sample"
rm -rf "$work"
mkdir -p "$work"
cp -r examples/. "$work/"
mkdir -p "$work/run" "$work/tmp" "$work/win" "$work/home"
cmd=$(tr -d '\r' < "$work/site/command-line.txt")
touch "$work/.started"
set +e
(cd "$work/run" && ../../release/quenda --headless --program-dir "$work/site/program" \
   --answers "$work/site/answers.txt" --transcript "$work/run/dialogs.jsonl" \
   --report "$work/run/report.json" -- $cmd)
status=$?
set -e
echo
echo "Exit-Status: $status"
echo "Geschriebene Dateien unter $work:"
find "$work" -newer "$work/.started" -type f | sort
exit "$status"
