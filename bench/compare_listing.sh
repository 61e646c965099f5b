#!/bin/sh
# Times `lumara-cli list` against `find -printf` on a generated folder of 100,000 files
# (same run, several repetitions, median) and reports lumara-cli's peak memory.
# usage: bench/compare_listing.sh [path/to/lumara-cli] [file count]
set -eu
CLI=${1:-$(dirname "$0")/../build-release/lumara-cli}
COUNT=${2:-100000}
REPS=${REPS:-7}
DIR=/tmp/lumara-compare-$COUNT

[ -x "$CLI" ] || { echo "lumara-cli not found: $CLI (build it in Release first)" >&2; exit 2; }
if ! [ -x /usr/bin/time ]; then
    echo "installing time for the memory figure" >&2
    apt-get install -y --no-install-recommends time >/dev/null
fi

if [ "$(find "$DIR" -maxdepth 1 -type f 2>/dev/null | wc -l)" -ne "$COUNT" ]; then
    rm -rf "$DIR"
    mkdir -p "$DIR"
    python3 - "$DIR" "$COUNT" <<'PY'
import os, sys
d, n = sys.argv[1], int(sys.argv[2])
exts = ["txt", "jpg", "doc", "mp3", "c", "HTML"]
for i in range(n):
    with open(os.path.join(d, "File_%d_%s.%s" % ((i * 7919) % n, chr(97 + i % 26), exts[i % 6])), "wb") as f:
        f.write(b"x" * (i % 100))
PY
fi

# Seconds for one run of the command, output discarded.
seconds() {
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    awk "BEGIN {print $end - $start}"
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Warm the directory cache once for both.
"$CLI" list "$DIR" >/dev/null
find "$DIR" -maxdepth 1 -type f -printf '%f %s %T@\n' >/dev/null

lumara_times=""
find_times=""
i=0
while [ $i -lt "$REPS" ]; do
    lumara_times="$lumara_times $(seconds "$CLI" list "$DIR")"
    find_times="$find_times $(seconds find "$DIR" -maxdepth 1 -type f -printf '%f %s %T@\n')"
    i=$((i + 1))
done
lumara=$(echo $lumara_times | tr ' ' '\n' | median)
findm=$(echo $find_times | tr ' ' '\n' | median)
ratio=$(awk "BEGIN {print $lumara / $findm}")
peak=$(/usr/bin/time -v "$CLI" list "$DIR" 2>&1 >/dev/null | awk -F: '/Maximum resident/ {gsub(/ /, "", $2); print $2}')

printf 'files:            %s\n' "$COUNT"
printf 'lumara-cli list:  %.3f s (median of %s)\n' "$lumara" "$REPS"
printf 'find -printf:     %.3f s (median of %s)\n' "$findm" "$REPS"
printf 'ratio:            %.2f (target <= 1.0)\n' "$ratio"
printf 'peak memory:      %.1f MB (target < 100 MB)\n' "$(awk "BEGIN {print $peak / 1024}")"
