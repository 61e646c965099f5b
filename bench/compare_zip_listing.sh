#!/bin/sh
# Times `lumara-cli archive` against `unzip -l` on a generated zip of 50,000 entries
# (same run, several repetitions, median) and reports lumara-cli's peak memory.
# usage: bench/compare_zip_listing.sh [path/to/lumara-cli] [entry count]
set -eu
CLI=${1:-$(dirname "$0")/../build-release/lumara-cli}
COUNT=${2:-50000}
REPS=${REPS:-7}
ZIP=/tmp/lumara-compare-zip-$COUNT.zip

[ -x "$CLI" ] || { echo "lumara-cli not found: $CLI (build it in Release first)" >&2; exit 2; }
command -v unzip >/dev/null || { echo "unzip is missing" >&2; exit 2; }
if ! [ -x /usr/bin/time ]; then
    echo "installing time for the memory figure" >&2
    apt-get install -y --no-install-recommends time >/dev/null
fi

if ! [ -s "$ZIP" ]; then
    python3 - "$ZIP" "$COUNT" <<'PY'
import sys, zipfile
path, n = sys.argv[1], int(sys.argv[2])
exts = ["txt", "jpg", "doc", "mp3", "c", "HTML"]
with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
    for i in range(n):
        name = "dir%d/File_%d_%s.%s" % (i % 100, (i * 7919) % n, chr(97 + i % 26), exts[i % 6])
        z.writestr(name, b"x" * (i % 100))
PY
fi

# "wall cpu" seconds of one run of the command (cpu = user + system), output discarded.
timed() {
    /usr/bin/time -f '%e %U %S' -o /tmp/lumara-compare-zip.time "$@" >/dev/null
    awk '{print $1, $2 + $3}' /tmp/lumara-compare-zip.time
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Warm the page cache once for both.
"$CLI" archive "$ZIP" >/dev/null
unzip -l "$ZIP" >/dev/null

: >/tmp/lumara-compare-zip.l
: >/tmp/lumara-compare-zip.u
i=0
while [ $i -lt "$REPS" ]; do
    timed "$CLI" archive "$ZIP" >>/tmp/lumara-compare-zip.l
    timed unzip -l "$ZIP" >>/tmp/lumara-compare-zip.u
    i=$((i + 1))
done
lumara=$(cut -d' ' -f1 /tmp/lumara-compare-zip.l | median)
unzipm=$(cut -d' ' -f1 /tmp/lumara-compare-zip.u | median)
lumara_cpu=$(cut -d' ' -f2 /tmp/lumara-compare-zip.l | median)
unzip_cpu=$(cut -d' ' -f2 /tmp/lumara-compare-zip.u | median)
ratio=$(awk "BEGIN {print ($unzipm > 0) ? $lumara / $unzipm : 0}")
cpu_ratio=$(awk "BEGIN {print ($unzip_cpu > 0) ? $lumara_cpu / $unzip_cpu : 0}")
peak=$(/usr/bin/time -v "$CLI" archive "$ZIP" 2>&1 >/dev/null | awk -F: '/Maximum resident/ {gsub(/ /, "", $2); print $2}')

printf 'entries:            %s\n' "$COUNT"
printf 'lumara-cli archive: %.3f s wall, %.3f s cpu (medians of %s)\n' "$lumara" "$lumara_cpu" "$REPS"
printf 'unzip -l:           %.3f s wall, %.3f s cpu (medians of %s)\n' "$unzipm" "$unzip_cpu" "$REPS"
printf 'ratio:              %.2f wall, %.2f cpu (target <= 0.1)\n' "$ratio" "$cpu_ratio"
printf 'peak memory:        %.1f MB\n' "$(awk "BEGIN {print $peak / 1024}")"
