#!/usr/bin/env bash
# Runs the sample site's job with the Windows build under Wine, with the site's drives and
# shares as real drive letters and UNC shares of a throw-away Wine prefix (its dosdevices
# links) and a Config.ini without [Paths], started from a batch file as a calling batch
# system starts it. Then compares every file it wrote with the Debian run's
# (scripts/run-sample.sh, build/sample), the site's folder names aside.
# With QUENDA_SAMPLE_MSI set to an MSI package, the package is installed silently into the
# prefix first and the installed C:\Program Files\Quenda\quenda.exe runs the job.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
cmake --preset windows >/dev/null
cmake --build --preset windows >/dev/null
work="$root/build/windows/sample"
export QUENDA_WINEPREFIX="$root/build/windows/wineprefix-sample"
./cmake/wine-run.sh --stop-server
rm -rf "$work" "$QUENDA_WINEPREFIX" "$QUENDA_WINEPREFIX.lock"
mkdir -p "$work"
cp -r examples/. "$work/"
mkdir -p "$work/run" "$work/tmp" "$work/win" "$work/home"
program="$work/site/program"
winpath() { echo "Z:$1" | tr / '\\'; }

# The prefix, then the [Paths] entries as drive letters and UNC shares.
./cmake/wine-run.sh cmd.exe /c exit >/dev/null 2>&1
exe="$(winpath "$root/build/windows/quenda.exe")"
if [ -n "${QUENDA_SAMPLE_MSI:-}" ]; then
  trap './cmake/wine-run.sh --stop-server' EXIT  # also when the install fails
  ./cmake/wine-run.sh msiexec /i "$(winpath "$(cd "$(dirname "$QUENDA_SAMPLE_MSI")" && pwd)/$(basename "$QUENDA_SAMPLE_MSI")")" /qn
  exe='"C:\Program Files\Quenda\quenda.exe"'
fi
devices="$QUENDA_WINEPREFIX/dosdevices"
tr -d '\r' <"$program/Config.ini" | awk '/^\[/{p=($0=="[Paths]")} p&&/=/' |
  while IFS='=' read -r key value; do
    folder="$(cd "$program/$value" && pwd)"
    if [[ "$key" =~ ^[A-Za-z]:$ ]]; then
      ln -sfn "$folder" "$devices/${key,,}"
    else
      share="${key#\\\\}"
      mkdir -p "$devices/unc/${share%%\\*}"
      ln -sfn "$folder" "$devices/unc/${share%%\\*}/${share#*\\}"
    fi
  done
tr -d '\r' <"$program/Config.ini" | awk '/^\[/{p=($0!="[Paths]")} p' | sed 's/$/\r/' \
  >"$program/Config.ini.win"
mv "$program/Config.ini.win" "$program/Config.ini"

cmd=$(tr -d '\r' <"$work/site/command-line.txt")
printf '%s\r\n' "@echo off" "cd /d $(winpath "$work/run")" \
  "$exe --headless --program-dir $(winpath "$program") --answers $(winpath "$work/site/answers.txt") --transcript $(winpath "$work/run/dialogs.jsonl") -- $cmd" \
  "exit %ERRORLEVEL%" >"$work/run-sample.bat"
touch "$work/.started"
sleep 1
status=0
./cmake/wine-run.sh cmd.exe /c "$(winpath "$work/run-sample.bat")" || status=$?
./cmake/wine-run.sh --stop-server
echo "Exit-Status unter Wine: $status"
[ "$status" -eq 0 ] || exit "$status"

# The Debian run, then the same files of both, the site's folder aside.
./scripts/run-sample.sh >/dev/null
linux="$root/build/sample"
site_win="$(winpath "$work")"
normalise() {  # the file with both sites' folders as <SITE> and "/" in their lines
  N="$linux" W="$site_win" perl -pe '
    BEGIN { $n = $ENV{N}; $w = $ENV{W}; ($j = $w) =~ s/\\/\\\\/g; }
    s/\Q$j\E/<SITE>/g; s/\Q$w\E/<SITE>/g; s/\Q$n\E/<SITE>/g;
    if (/<SITE>/) { s{\\\\}{/}g; s{\\}{/}g; }' "$1"
}
failed=0
count=0
while IFS= read -r file; do
  rel="${file#"$linux"/}"
  # The report is the caller's account of the run, sizes of the log included, not a file
  # of the release; the Wine run writes none.
  [ "$rel" = "run/report.json" ] && continue
  count=$((count + 1))
  if [ ! -f "$work/$rel" ]; then
    echo "fehlt unter Wine: $rel"
    failed=1
  elif ! diff <(normalise "$linux/$rel") <(normalise "$work/$rel") >/dev/null; then
    echo "verschieden: $rel"
    failed=1
  fi
done < <(find "$linux" -newer "$linux/.started" -type f | sort)
[ "$failed" -eq 0 ] && echo "$count Dateien des Debian-Laufs verglichen, alle gleich"
exit "$failed"
