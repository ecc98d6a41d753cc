#!/usr/bin/env bash
# The retry of cmake/wine-run.sh with a fake wine: a run that printed nothing and failed is
# tried once more, a run that printed anything is never tried again.
#   wine_run_test.sh PATH/TO/wine-run.sh
set -euo pipefail
runner="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/prefix" && touch "$work/prefix/.quenda-ready"
# The fake wine: each call is counted; call N does what line N of $work/plan says
# ("silent" fails without output, "fail" prints and fails, "ok" prints and succeeds).
cat >"$work/wine" <<'FAKE'
#!/usr/bin/env bash
n=$(($(cat "$WORK/calls" 2>/dev/null || echo 0) + 1))
echo "$n" >"$WORK/calls"
case "$(sed -n "${n}p" "$WORK/plan")" in
  silent) exit 1 ;;
  fail) echo "[  FAILED  ] $*"; exit 1 ;;
  ok) echo "[  PASSED  ] $*"; exit 0 ;;
esac
exit 99
FAKE
chmod +x "$work/wine"
failures=0
# check NAME PLAN EXPECTED_STATUS EXPECTED_CALLS EXPECTED_RETRY_LINES
check() {
  printf '%s\n' $2 >"$work/plan"
  rm -f "$work/calls"
  set +e
  WORK="$work" QUENDA_WINE="$work/wine" QUENDA_WINEPREFIX="$work/prefix" \
    "$runner" test.exe --flag >"$work/out" 2>"$work/err"
  local status=$?
  set -e
  local calls retries
  calls=$(cat "$work/calls")
  retries=$(grep -c "wine-run: no output at all, retrying once (Wine start-up)" "$work/err" || true)
  if [ "$status" != "$3" ] || [ "$calls" != "$4" ] || [ "$retries" != "$5" ]; then
    echo "FAILED $1 (plan: $2): status $status, calls $calls, retry lines $retries;" \
      "expected $3, $4, $5"
    failures=$((failures + 1))
  fi
}
check StartUpFailureIsRetriedOnce "silent ok" 0 2 1
check SecondSilentFailureStands "silent silent ok" 1 2 1
check FailureWithOutputIsNotRetried "fail ok" 1 1 0
check SuccessRunsOnce "ok" 0 1 0
check RetryAfterStartUpFailureMayFailForReal "silent fail ok" 1 2 1
# What the program printed reaches the runner's output, and its arguments reach the program.
check OutputPassesThrough "ok" 0 1 0
grep -qx '\[  PASSED  \] test.exe --flag' "$work/out" || {
  echo "FAILED OutputPassesThrough: $(cat "$work/out")"
  failures=$((failures + 1))
}
[ "$failures" -eq 0 ] && echo "wine-run retry: all cases passed"
exit "$failures"
