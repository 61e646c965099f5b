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

# Medians of wall and CPU time (user + system, from the kernel's accounting of the child,
# in microseconds) over REPS alternating runs, output discarded.
set -- $(python3 - "$CLI" "$ZIP" "$REPS" <<'PY'
import resource, statistics, subprocess, sys, time
cli, zip_path, reps = sys.argv[1], sys.argv[2], int(sys.argv[3])
def once(cmd):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(cmd, stdout=subprocess.DEVNULL, check=True)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, (after.ru_utime + after.ru_stime) - (before.ru_utime + before.ru_stime)
runs = {"l": [], "u": []}
for _ in range(reps):
    runs["l"].append(once([cli, "archive", zip_path]))
    runs["u"].append(once(["unzip", "-l", zip_path]))
for key in ("l", "u"):
    print(statistics.median(w for w, _ in runs[key]), statistics.median(c for _, c in runs[key]))
PY
)
lumara=$1 lumara_cpu=$2 unzipm=$3 unzip_cpu=$4
ratio=$(awk "BEGIN {print ($unzipm > 0) ? $lumara / $unzipm : 0}")
cpu_ratio=$(awk "BEGIN {print ($unzip_cpu > 0) ? $lumara_cpu / $unzip_cpu : 0}")
peak=$(/usr/bin/time -v "$CLI" archive "$ZIP" 2>&1 >/dev/null | awk -F: '/Maximum resident/ {gsub(/ /, "", $2); print $2}')

printf 'entries:            %s\n' "$COUNT"
printf 'lumara-cli archive: %.4f s wall, %.4f s cpu (medians of %s)\n' "$lumara" "$lumara_cpu" "$REPS"
printf 'unzip -l:           %.4f s wall, %.4f s cpu (medians of %s)\n' "$unzipm" "$unzip_cpu" "$REPS"
printf 'ratio:              %.2f wall, %.2f cpu (target <= 0.1)\n' "$ratio" "$cpu_ratio"
printf 'peak memory:        %.1f MB\n' "$(awk "BEGIN {print $peak / 1024}")"
