#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz", clang) and runs each for SECONDS (default
# 30) on a working copy of its seed corpus under build/fuzz/work. Fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
work="$PWD/build/fuzz/work"
mkdir -p "$work"
status=0
for target in tokens record_set dab object_store value_expression rule_expansion xml; do
  mkdir -p "$work/$target"
  if (cd "$work" && "../fuzz/${target}_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
        -timeout=10 -rss_limit_mb=2048 "$target" "../../../fuzz/corpus/$target" \
        >"$target.log" 2>&1); then
    echo "fuzz $target: $(grep -Eo 'Done [0-9]+ runs' "$work/$target.log" | tail -1)"
  else
    echo "fuzz $target: FINDING, see $work/$target.log"
    tail -40 "$work/$target.log"
    status=1
  fi
done
exit "$status"
