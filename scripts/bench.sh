#!/usr/bin/env bash
# Builds the benchmarks and measures the object store and the parameter intake on
# generated inputs, then the headless sample run with a 300 MB object store, then a release
# with large files against cp, sync and grep, and the cost of the flushes. Inputs go to
# build/bench-data; the large files are deleted at the end (KEEP_DATA=1 keeps them).
#   REPS=5        repetitions of every measurement (medians are reported)
#   STORE_MB="1 30 300"   JOB_FIELDS="1000 10000 100000"   SAMPLE_MB=300
#   DAM_MB=200  HEX_MB=16   the DAMOS and hex file of the release with large files
#   ONLY_RELEASE=1          only the release with large files and the flushes
#   QUENDA=path             time another build of quenda (an older one, for comparison)
set -euo pipefail
cd "$(dirname "$0")/.."
REPS=${REPS:-5}
STORE_MB=${STORE_MB:-"1 30 300"}
JOB_FIELDS=${JOB_FIELDS:-"1000 10000 100000"}
SAMPLE_MB=${SAMPLE_MB:-300}
DAM_MB=${DAM_MB:-200}
HEX_MB=${HEX_MB:-16}
ONLY_RELEASE=${ONLY_RELEASE:-0}
data="$PWD/build/bench-data"
bench="$PWD/build/release/bench/quenda_bench"
quenda="${QUENDA:-$PWD/build/release/quenda}"

cmake --preset release -DQUENDA_BENCH=ON >/dev/null
cmake --build --preset release --target quenda quenda_bench
mkdir -p "$data"

# Two 300 MB stores (generated and padded sample) and their neighbours need about 1 GB.
free_mb=$(df -Pm "$data" | awk 'NR == 2 { print $4 }')
if [ "$free_mb" -lt 1500 ]; then
  echo "Nur ${free_mb} MB frei unter $data; mindestens 1500 MB nötig." >&2
  exit 1
fi

comma() { echo "$1" | tr ' ' ','; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
now_ns() { date +%s%N; }
seconds_since() { echo "$(( $(now_ns) - $1 ))" | awk '{ printf "%.4f\n", $1 / 1e9 }'; }
# The count goes through a pipe: with its output on /dev/null grep stops at the first match.
grep_seconds() {
  local start count
  start=$(now_ns)
  count=$(grep -c -F '=Kgs:Name=' "$1")
  seconds_since "$start"
  [ "$count" -gt 0 ]
}

# Seconds of one `openssl dgst -sha256` over the files given.
sha_seconds() {
  local start
  start=$(now_ns)
  openssl dgst -sha256 "$@" >/dev/null
  seconds_since "$start"
}

if [ "$ONLY_RELEASE" != 1 ]; then
echo "== Eingaben erzeugen"
"$bench" --data-dir="$data" --store-mb="$(comma "$STORE_MB")" --job-fields="$(comma "$JOB_FIELDS")" \
  --generate-only

echo "== Google Benchmark ($REPS Wiederholungen, Mediane)"
"$bench" --data-dir="$data" --store-mb="$(comma "$STORE_MB")" --job-fields="$(comma "$JOB_FIELDS")" \
  --benchmark_repetitions="$REPS" --benchmark_report_aggregates_only=true \
  --benchmark_out="$data/results.json" --benchmark_out_format=json

echo "== Einzelmessungen in eigenen Prozessen (Zeit, Spitzenspeicher)"
# Reads the probe lines "... seconds=S peak_rss_mb=P file_mb=F"; prints the median time,
# the highest peak and the file size.
probe_summary() {
  local lines
  lines=$(cat)
  echo "median_s=$(echo "$lines" | sed -n 's/.*seconds=\([0-9.]*\).*/\1/p' | median)" \
    "peak_rss_mb=$(echo "$lines" | sed -n 's/.*peak_rss_mb=\([0-9.]*\).*/\1/p' | sort -g | tail -1)" \
    "file_mb=$(echo "$lines" | sed -n 's/.*file_mb=\([0-9.]*\).*/\1/p' | head -1)"
}
for mb in $STORE_MB; do
  store="$data/store_${mb}mb.osp"
  probes=$(for _ in $(seq "$REPS"); do
    grep_seconds "$store" >>"$data/grep.txt"
    "$bench" --data-dir="$data" --probe-store="$mb"
  done)
  grep_s=$(tail -n "$REPS" "$data/grep.txt" | median)
  echo "store ${mb} MB, laden + 20 finden: $(echo "$probes" | probe_summary) grep_median_s=$grep_s"
  probes=$(for _ in $(seq "$REPS"); do "$bench" --data-dir="$data" --probe-per-label="$mb"; done)
  echo "store ${mb} MB, bisheriger Weg (lesen, 20 Suchen): $(echo "$probes" | probe_summary)"
done
rm -f "$data/grep.txt"
for n in $JOB_FIELDS; do
  probes=$(for _ in $(seq "$REPS"); do "$bench" --data-dir="$data" --probe-intake="$n"; done)
  echo "intake ${n} Felder, 300 Parameter: $(echo "$probes" | probe_summary)"
done

echo "== Headless-Beispiellauf mit ${SAMPLE_MB}-MB-Objektspeicher"
osp_rel="site/shares/projekte/EDC21/MX21K47/makeout/Damos/MX21K47_01.osp"
padded="$data/sample_${SAMPLE_MB}mb.osp"
[ -f "$padded" ] || "$bench" --pad-store="examples/$osp_rel" --out="$padded" --mb="$SAMPLE_MB"
runs=()
greps=()
peak=0
if [ ! -x /usr/bin/time ]; then
  echo "/usr/bin/time fehlt (Debian-Paket time)" >&2
  exit 1
fi
# One grep pass and one `openssl dgst -sha256` pass over the store are the anchors of the
# run without and with --report, all four taken in the same repetition.
reported=()
shas=()
for _ in $(seq "$REPS"); do
  for report in "" "--report"; do
    work="$data/sample"
    rm -rf "$work"
    mkdir -p "$work"
    cp -r examples/. "$work/"
    mkdir -p "$work/run" "$work/tmp" "$work/win" "$work/home"
    ln -f "$padded" "$work/$osp_rel"
    cmd=$(tr -d '\r' < "$work/site/command-line.txt")
    if [ -z "$report" ]; then
      greps+=("$(grep_seconds "$padded")")
      shas+=("$(sha_seconds "$padded")")
    fi
    start=$(now_ns)
    if ! (cd "$work/run" && /usr/bin/time -f "%M" -o "$work/time.txt" "$quenda" --headless \
            --program-dir "$work/site/program" --answers "$work/site/answers.txt" \
            ${report:+--report "$work/run/report.json"} -- $cmd >"$work/out.txt" 2>&1); then
      echo "Der Beispiellauf endete nicht erfolgreich; Ausgabe in $work/out.txt" >&2
      exit 1
    fi
    if [ -z "$report" ]; then
      runs+=("$(seconds_since "$start")")
    else
      reported+=("$(seconds_since "$start")")
    fi
    kb=$(tail -1 "$work/time.txt")
    if [ "$kb" -gt "$peak" ]; then peak=$kb; fi
  done
done
run_s=$(printf '%s\n' "${runs[@]}" | median)
report_s=$(printf '%s\n' "${reported[@]}" | median)
grep_s=$(printf '%s\n' "${greps[@]}" | median)
sha_s=$(printf '%s\n' "${shas[@]}" | median)
echo "sample run: Läufe ${runs[*]} s; mit --report ${reported[*]} s; grep ${greps[*]} s; sha256 ${shas[*]} s"
awk -v r="$run_s" -v g="$grep_s" -v p="$peak" \
  'BEGIN { printf "sample run: median_s=%s grep_median_s=%s ratio=%.2f peak_rss_mb=%.1f\n", r, g, r / g, p * 1024 / 1e6 }'
awk -v r="$report_s" -v g="$grep_s" -v h="$sha_s" \
  'BEGIN { m = g > h ? g : h; printf "sample run --report: median_s=%s grep_median_s=%s sha256_median_s=%s ratio_to_larger=%.2f\n", r, g, h, r / m }'
rm -rf "$data/sample"
fi

echo "== Freigabe mit ${DAM_MB}-MB-DAMOS, ${HEX_MB}-MB-Hexdatei und ${SAMPLE_MB}-MB-Objektspeicher"
# The same sample run with its DAMOS (.dam) and hex file grown to the given sizes, against
# cp of those two files, sync of the copies and one grep over the store, in one timed block
# right before each run. Peak memory of the run by /usr/bin/time.
osp_rel="site/shares/projekte/EDC21/MX21K47/makeout/Damos/MX21K47_01.osp"
dab_rel="site/shares/projekte/EDC21/MX21K47/dab"
padded="$data/sample_${SAMPLE_MB}mb.osp"
[ -f "$padded" ] || "$bench" --pad-store="examples/$osp_rel" --out="$padded" --mb="$SAMPLE_MB"
big_dam="$data/release_${DAM_MB}mb.dam"
big_hex="$data/release_${HEX_MB}mb.hex"
[ -f "$big_dam" ] || head -c "$((DAM_MB * 1000000))" /dev/urandom >"$big_dam"
[ -f "$big_hex" ] || head -c "$((HEX_MB * 1000000))" /dev/urandom >"$big_hex"
# Lays out a fresh sample site in $work with the large files linked in.
prepare_release() {
  rm -rf "$work"
  mkdir -p "$work"
  cp -r examples/. "$work/"
  mkdir -p "$work/run" "$work/tmp" "$work/win" "$work/home" "$work/cp"
  ln -f "$padded" "$work/$osp_rel"
  ln -f "$big_dam" "$work/$dab_rel/MX21K47_01.dam"
  ln -f "$big_hex" "$work/$dab_rel/MX21K47_01.hex"
}
# Runs the sample job in $work under "$@" (a wrapper, or nothing); $REPORT, when set, is
# the report the run writes.
run_release() {
  local cmd
  cmd=$(tr -d '\r' < "$work/site/command-line.txt")
  (cd "$work/run" && "$@" "$quenda" --headless --program-dir "$work/site/program" \
     --answers "$work/site/answers.txt" ${REPORT:+--report "$REPORT"} -- $cmd \
     >"$work/out.txt" 2>&1)
}
# Times the run in $work (the report as $REPORT); its peak memory goes to $work/time.txt.
timed_release() {
  local start
  start=$(now_ns)
  if ! run_release /usr/bin/time -f "%M" -o "$work/time.txt"; then
    echo "Der Lauf mit großen Dateien endete nicht erfolgreich; Ausgabe in $work/out.txt" >&2
    exit 1
  fi
  seconds_since "$start"
}
# Keeps the highest peak of the runs so far in $peak.
note_peak() {
  local kb
  kb=$(tail -1 "$work/time.txt")
  if [ "$kb" -gt "$peak" ]; then peak=$kb; fi
}
work="$data/release"
runs=()
reported=()
bases=()
shas=()
verifies=()
verify_shas=()
peak=0
for _ in $(seq "$REPS"); do
  prepare_release
  sync
  start=$(now_ns)
  cp "$big_dam" "$big_hex" "$work/cp/"
  sync "$work/cp/$(basename "$big_dam")" "$work/cp/$(basename "$big_hex")"
  count=$(grep -c -F '=Kgs:Name=' "$padded")
  bases+=("$(seconds_since "$start")")
  [ "$count" -gt 0 ]
  shas+=("$(sha_seconds "$big_dam" "$big_hex")")
  rm -rf "$work/cp"
  sync
  runs+=("$(REPORT="" timed_release)")
  note_peak
  prepare_release
  sync
  touch "$work/.started"
  reported+=("$(REPORT="$work/report.json" timed_release)")
  note_peak
  # --verify reads every file the run wrote once; the anchor hashes the same files.
  mapfile -t written < <(find "$work" -type f -newer "$work/.started" ! -name report.json \
                           ! -name out.txt ! -name time.txt)
  verify_shas+=("$(sha_seconds "${written[@]}")")
  start=$(now_ns)
  (cd "$work/run" && "$quenda" --verify "$work/report.json" >"$work/verify.txt")
  verifies+=("$(seconds_since "$start")")
done
run_s=$(printf '%s\n' "${runs[@]}" | median)
report_s=$(printf '%s\n' "${reported[@]}" | median)
base_s=$(printf '%s\n' "${bases[@]}" | median)
sha_s=$(printf '%s\n' "${shas[@]}" | median)
verify_s=$(printf '%s\n' "${verifies[@]}" | median)
verify_sha_s=$(printf '%s\n' "${verify_shas[@]}" | median)
echo "release: Läufe ${runs[*]} s; mit --report ${reported[*]} s; cp + sync + grep ${bases[*]} s;" \
  "sha256 der Quellen ${shas[*]} s"
awk -v r="$run_s" -v b="$base_s" -v p="$peak" -v m="$SAMPLE_MB" \
  'BEGIN { printf "release: median_s=%s cp_sync_grep_median_s=%s ratio=%.2f peak_rss_mb=%.1f store_mb=%s\n", r, b, r / b, p * 1024 / 1e6, m }'
awk -v r="$report_s" -v b="$base_s" -v h="$sha_s" \
  'BEGIN { printf "release --report: median_s=%s cp_sync_grep_sha256_median_s=%s ratio=%.2f\n", r, b + h, r / (b + h) }'
echo "verify: Läufe ${verifies[*]} s; sha256 derselben Dateien ${verify_shas[*]} s"
awk -v r="$verify_s" -v h="$verify_sha_s" \
  'BEGIN { printf "verify: median_s=%s sha256_median_s=%s ratio=%.2f\n", r, h, r / h }'

echo "== Kosten der Flushes im Beispiellauf (strace -c -w: Zeit in fsync)"
# The plain sample site; strace counts only fsync and fdatasync, the run time is taken
# without strace.
if command -v strace >/dev/null; then
  plain=()
  flush=()
  calls=0
  for _ in $(seq "$REPS"); do
    rm -rf "$work"
    mkdir -p "$work"
    cp -r examples/. "$work/"
    mkdir -p "$work/run" "$work/tmp" "$work/win" "$work/home"
    start=$(now_ns)
    REPORT="" run_release
    plain+=("$(seconds_since "$start")")
    rm -rf "$work"
    mkdir -p "$work"
    cp -r examples/. "$work/"
    mkdir -p "$work/run" "$work/tmp" "$work/win" "$work/home"
    REPORT="" run_release strace -f -c -w -e trace=fsync,fdatasync -o "$data/strace.txt"
    flush+=("$(awk '$NF == "total" { print $2 }' "$data/strace.txt")")
    calls=$(awk '$NF == "total" { print $4 }' "$data/strace.txt")
  done
  plain_s=$(printf '%s\n' "${plain[@]}" | median)
  flush_s=$(printf '%s\n' "${flush[@]}" | median)
  awk -v r="$plain_s" -v f="$flush_s" -v c="$calls" \
    'BEGIN { printf "flushes: run_median_s=%s fsync_calls=%s fsync_median_s=%s share=%.0f%%\n", r, c, f, 100 * f / r }'
  rm -f "$data/strace.txt"
else
  echo "strace fehlt (Debian-Paket strace): Kosten der Flushes nicht gemessen"
fi
rm -rf "$work"

if [ "${KEEP_DATA:-0}" != 1 ]; then
  rm -f "$data"/store_300mb.osp "$padded" "$big_dam" "$big_hex"
fi
