#!/bin/sh
# Times a one-word content search of `lumara-cli find` against `grep -li` over the same
# generated folder (2,000 text files, 500 MB in all; every tenth holds the word), warm
# cache, several repetitions, median. The folder is deleted afterwards unless KEEP=1.
# usage: bench/compare_find.sh [path/to/lumara-cli]
set -eu
CLI=${1:-$(dirname "$0")/../build/lumara-cli}
REPS=${REPS:-5}
DIR=/tmp/lumara-find-bench
WORD=zephyrine

[ -x "$CLI" ] || { echo "lumara-cli not found: $CLI (build it in Release first)" >&2; exit 2; }

if [ "$(find "$DIR" -maxdepth 1 -type f 2>/dev/null | wc -l)" -ne 2000 ]; then
    rm -rf "$DIR"
    mkdir -p "$DIR"
    python3 "$(dirname "$0")/make_fixture.py" texts "$DIR" "$WORD"
fi

timed() {
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e9 }'
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Both must agree on the files found.
lumara_found=$("$CLI" find --content "$WORD" "$DIR" | tail -n +2 | sed 's/^ *//' | sort)
grep_found=$(grep -rli "$WORD" "$DIR" | sed 's|.*/||' | sort)
[ "$lumara_found" = "$grep_found" ] || { echo "lumara-cli and grep disagree" >&2; exit 1; }
echo "files with the word: $(echo "$grep_found" | wc -l) of 2000"

: >/tmp/lumara-find.l
: >/tmp/lumara-find.g
i=0
while [ $i -lt "$REPS" ]; do
    timed "$CLI" find --content "$WORD" "$DIR" >>/tmp/lumara-find.l
    timed grep -rli "$WORD" "$DIR" >>/tmp/lumara-find.g
    i=$((i + 1))
done
lumara=$(median </tmp/lumara-find.l)
grep=$(median </tmp/lumara-find.g)
echo "lumara-cli find: ${lumara}s   grep -li: ${grep}s   (median of $REPS, 500 MB)"
[ "${KEEP:-0}" = 1 ] || rm -rf "$DIR"
awk -v l="$lumara" -v g="$grep" 'BEGIN { exit !(l <= g) }' && echo "target met" ||
    { echo "target missed: slower than grep -li" >&2; exit 1; }
