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

# "wall cpu" seconds of one run of the command (cpu = user + system), output discarded.
timed() {
    /usr/bin/time -f '%e %U %S' -o /tmp/lumara-compare.time "$@" >/dev/null
    awk '{print $1, $2 + $3}' /tmp/lumara-compare.time
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Warm the directory cache once for both.
"$CLI" list "$DIR" >/dev/null
find "$DIR" -maxdepth 1 -type f -printf '%f %s %T@\n' >/dev/null

: >/tmp/lumara-compare.l
: >/tmp/lumara-compare.f
i=0
while [ $i -lt "$REPS" ]; do
    timed "$CLI" list "$DIR" >>/tmp/lumara-compare.l
    timed find "$DIR" -maxdepth 1 -type f -printf '%f %s %T@\n' >>/tmp/lumara-compare.f
    i=$((i + 1))
done
lumara=$(cut -d' ' -f1 /tmp/lumara-compare.l | median)
findm=$(cut -d' ' -f1 /tmp/lumara-compare.f | median)
lumara_cpu=$(cut -d' ' -f2 /tmp/lumara-compare.l | median)
find_cpu=$(cut -d' ' -f2 /tmp/lumara-compare.f | median)
ratio=$(awk "BEGIN {print $lumara / $findm}")
cpu_ratio=$(awk "BEGIN {print $lumara_cpu / $find_cpu}")
peak=$(/usr/bin/time -v "$CLI" list "$DIR" 2>&1 >/dev/null | awk -F: '/Maximum resident/ {gsub(/ /, "", $2); print $2}')

printf 'files:            %s\n' "$COUNT"
printf 'lumara-cli list:  %.3f s wall, %.3f s cpu (medians of %s)\n' "$lumara" "$lumara_cpu" "$REPS"
printf 'find -printf:     %.3f s wall, %.3f s cpu (medians of %s)\n' "$findm" "$find_cpu" "$REPS"
printf 'ratio:            %.2f wall, %.2f cpu (target <= 1.0)\n' "$ratio" "$cpu_ratio"
printf 'peak memory:      %.1f MB (target < 100 MB)\n' "$(awk "BEGIN {print $peak / 1024}")"
