#!/bin/sh
# Times a thumbnail page of 25 eight-megapixel JPEGs drawn by `lumara-cli thumbs`
# against ImageMagick's `convert -thumbnail` of the same pictures to the same size
# (same run, several repetitions, median of each).
# usage: bench/compare_thumbnails.sh [path/to/lumara-cli]
set -eu
CLI=${1:-$(dirname "$0")/../build/lumara-cli}
REPS=${REPS:-5}
DIR=/tmp/lumara-thumbs-25
OUT=/tmp/lumara-thumbs-out

[ -x "$CLI" ] || { echo "lumara-cli not found: $CLI" >&2; exit 2; }
command -v convert >/dev/null || { echo "ImageMagick's convert is needed" >&2; exit 2; }

if [ "$(ls "$DIR"/*.jpg 2>/dev/null | wc -l)" -ne 25 ]; then
    rm -rf "$DIR"
    mkdir -p "$DIR"
    i=0
    while [ $i -lt 25 ]; do
        convert -size 3264x2448 "plasma:fractal" -seed $i -quality 90 "$DIR/photo$i.jpg"
        i=$((i + 1))
    done
fi

seconds() {
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    awk "BEGIN {print $end - $start}"
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
# One thumbnail cell of a 1000 x 750 page, as lumara-cli draws it.
baseline() {
    mkdir -p "$OUT/convert"
    for f in "$DIR"/*.jpg; do
        convert "$f" -thumbnail '196x146!' "$OUT/convert/$(basename "$f" .jpg).png"
    done
}

"$CLI" thumbs "$DIR" --out "$OUT/lumara" >/dev/null 2>&1 # warm the file cache
base_times=""
ours=""
i=0
while [ $i -lt "$REPS" ]; do
    base_times="$base_times $(seconds baseline)"
    ours="$ours $(seconds "$CLI" thumbs "$DIR" --out "$OUT/lumara")"
    i=$((i + 1))
done
base=$(echo $base_times | tr ' ' '\n' | median)
t=$(echo $ours | tr ' ' '\n' | median)
printf 'convert -thumbnail x25: %.3f s; lumara-cli thumbs: %.3f s (%.1f ms a picture); ratio %.2f\n' \
    "$base" "$t" "$(awk "BEGIN {print $t * 1000 / 25}")" "$(awk "BEGIN {print $t / $base}")"
