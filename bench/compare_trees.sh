#!/bin/sh
# Times each file tree of `lumara-cli list --tree T` against
# `find DIR -maxdepth 1 -type f -printf '%s %f\n' | sort -n` on a generated folder of
# 100,000 files (same run, several repetitions, median of each).
# usage: bench/compare_trees.sh [path/to/lumara-cli] [file count]
set -eu
CLI=${1:-$(dirname "$0")/../build-release/lumara-cli}
COUNT=${2:-100000}
REPS=${REPS:-5}
DIR=/tmp/lumara-trees-$COUNT

[ -x "$CLI" ] || { echo "lumara-cli not found: $CLI (build it in Release first)" >&2; exit 2; }

if [ "$(find "$DIR" -maxdepth 1 -type f 2>/dev/null | wc -l)" -ne "$COUNT" ]; then
    rm -rf "$DIR"
    mkdir -p "$DIR"
    python3 "$(dirname "$0")/make_fixture.py" files "$DIR" "$COUNT"
fi

seconds() {
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    awk "BEGIN {print $end - $start}"
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
baseline() { find "$DIR" -maxdepth 1 -type f -printf '%s %f\n' | sort -n; }

baseline >/dev/null # warm the directory cache
times=""
i=0
while [ $i -lt "$REPS" ]; do
    times="$times $(seconds baseline)"
    i=$((i + 1))
done
base=$(echo $times | tr ' ' '\n' | median)
printf 'files: %s; find | sort -n: %.3f s (median of %s)\n' "$COUNT" "$base" "$REPS"

for tree in name ext size date age; do
    "$CLI" list --tree "$tree" --basis modified "$DIR" >/dev/null
    times=""
    i=0
    while [ $i -lt "$REPS" ]; do
        times="$times $(seconds "$CLI" list --tree "$tree" --basis modified "$DIR")"
        i=$((i + 1))
    done
    t=$(echo $times | tr ' ' '\n' | median)
    printf '%-5s tree: %.3f s  ratio %.2f (target <= 1.2)\n' "$tree" "$t" \
        "$(awk "BEGIN {print $t / $base}")"
done
