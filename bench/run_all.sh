#!/bin/sh
# Every speed comparison in one run and one table: each Lumara job timed against its
# anchor (the tool a user would otherwise reach for) in the same run, with hyperfine
# (medians), Lumara's peak memory from the kernel's accounting (/usr/bin/time), the
# target as a ratio or a bound, and whether it is met. The generated folders are cached
# under FIXTURES and made again only when missing or incomplete.
#
# usage: bench/run_all.sh [BUILD] [FIXTURES]
#   BUILD     a Release build folder (default build-release); the window rows need it
#             configured with -DLUMARA_BUILD_BENCH=ON (bench/bench_window_listing)
#   FIXTURES  where the generated folders live (default /tmp/lumara-bench)
# environment:
#   REPS=5        runs of each small job; BIG_REPS=3 runs of each 1,000,000-file job
#   QUICK=1       leaves out the 1,000,000-file jobs and the window
#   JOBS='list*'  runs only the jobs whose name matches one of these shell patterns
#                 (blank-separated; ? stands for a blank in a name); the table then also
#                 shows the rows of the last run (ROWS=keep) unless ROWS=new
#   SAME_AS=CLI   another lumara-cli (today's, say): the outputs of list, every --tree,
#                 stats and find on the benchmark folders are compared byte for byte
# Needs hyperfine, ripgrep, libvips-tools, time, imagemagick, unzip, zip, xvfb (for the
# window); missing ones are installed with apt-get when run as root.
set -euf # no file-name globbing here: job patterns stay patterns
BUILD=${1:-build-release}
FIX=${2:-/tmp/lumara-bench}
REPS=${REPS:-5}
BIG_REPS=${BIG_REPS:-3}
CLI=$BUILD/lumara-cli
WORK=$FIX/work
TABLE=$FIX/table.txt
BENCH=$(cd "$(dirname "$0")" && pwd)

[ -x "$CLI" ] || { echo "lumara-cli not found: $CLI (build it in Release first)" >&2; exit 2; }
CLI=$(cd "$(dirname "$CLI")" && pwd)/lumara-cli

missing=""
need() { command -v "$1" >/dev/null 2>&1 || missing="$missing $2"; }
need hyperfine hyperfine
need rg ripgrep
need vipsthumbnail libvips-tools
need convert imagemagick
need unzip unzip
need xvfb-run xvfb
[ -x /usr/bin/time ] || missing="$missing time"
if [ -n "$missing" ]; then
    if [ "$(id -u)" = 0 ]; then
        echo "installing:$missing" >&2
        apt-get install -y --no-install-recommends $missing >/dev/null
    else
        echo "missing:$missing (apt-get install them as root)" >&2
        exit 2
    fi
fi

mkdir -p "$FIX" "$WORK"
echo "fixtures in $FIX" >&2

# make_fixture NAME GENERATOR...: runs the generator into $FIX/NAME unless a finished one is there.
make_fixture() {
    name=$1
    shift
    [ -e "$FIX/$name.done" ] && return 0
    echo "making $FIX/$name (once)" >&2
    rm -rf "${FIX:?}/$name"
    mkdir -p "$FIX/$name"
    "$@" "$FIX/$name"
    touch "$FIX/$name.done"
}

texts() { python3 "$BENCH/make_fixture.py" texts "$1" zephyrine; }

# Files with sizes spread over the size bands (sparse: no data blocks) and dates over
# about 2.5 years.
files() { python3 "$BENCH/make_fixture.py" files "$2" "$1"; }
files100k() { files 100000 "$1"; }
files1m() { files 1000000 "$1"; }

zip50k() {
    python3 - "$1/entries.zip" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    for i in range(50000):
        z.writestr("dir%d/File_%d_%s.%s" % (i % 100, (i * 7919) % 50000, chr(97 + i % 26),
                   ["txt", "jpg", "doc", "mp3", "c", "HTML"][i % 6]), b"x" * (i % 100))
PY
}

# 25 eight-megapixel photographs: two fractal landscapes, the rest shifted copies.
jpegs() {
    convert -size 3264x2448 plasma:fractal -seed 0 -quality 90 "$1/photo0.jpg"
    convert -size 3264x2448 plasma:fractal -seed 1 -quality 90 "$1/photo1.jpg"
    i=2
    while [ $i -lt 25 ]; do
        convert "$1/photo$((i % 2)).jpg" -roll +$((i * 131))+$((i * 97)) -quality 90 "$1/photo$i.jpg"
        i=$((i + 1))
    done
}

make_fixture text500 texts
make_fixture files100k files100k
make_fixture zip50k zip50k
make_fixture jpeg25 jpegs
[ "${QUICK:-0}" = 1 ] || make_fixture files1m files1m

JOBS=${JOBS:-*}
wanted() {
    for pattern in $JOBS; do
        # shellcheck disable=SC2254
        case "$1" in $pattern) return 0 ;; esac
    done
    return 1
}
[ "$JOBS" != "*" ] && [ "${ROWS:-keep}" = keep ] || : >"$WORK/rows"
# row JOB LUMARA_S ANCHOR ANCHOR_S PEAK_MB TARGET_RATIO TARGET_MB [CPU_RATIO]
row() {
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$1" "$2" "$3" "$4" "$5" "$6" "$7" "${8:--}" \
        >>"$WORK/rows"
}

# "median cpu" in seconds of each command (cpu: mean user + system time, the kernel's
# accounting), in order, from one hyperfine run over them all.
medians() {
    runs=$1
    shift
    # One run alone is for the long jobs, whose folder is already in the cache.
    warmup=1
    [ "$runs" -gt 1 ] || warmup=0
    hyperfine --style none --runs "$runs" --warmup $warmup --export-json "$WORK/h.json" "$@" \
        >/dev/null
    python3 -c '
import json, sys
for r in json.load(open(sys.argv[1]))["results"]:
    print("%.4f %.4f" % (r["median"], r["user"] + r["system"]))' "$WORK/h.json"
}

# Peak resident memory in MB of one run of a command.
peak() {
    /usr/bin/time -f '%M' -o "$WORK/peak" "$@" >/dev/null 2>&1 || true
    awk '{printf "%.0f", $1 / 1024}' "$WORK/peak"
}

# compare JOB TARGET_RATIO TARGET_MB RUNS LUMARA_COMMAND ANCHOR_NAME ANCHOR_COMMAND
compare() {
    job=$1 ratio=$2 mb=$3 runs=$4 ours=$5 anchor=$6 theirs=$7
    wanted "$job" || return 0
    echo "timing: $job" >&2
    set -- $(medians "$runs" "$ours" "$theirs")
    cpu=$(awk "BEGIN {printf \"%.2fx\", $2 / ($4 > 0 ? $4 : 1)}")
    row "$job" "$1" "$anchor" "$3" "$(peak sh -c "$ours")" "$ratio" "$mb" "$cpu"
}

T=$FIX/text500
compare "find --content, 500 MB" 1.2 - "$REPS" "$CLI find --content zephyrine $T" \
    "rg -li" "rg -li zephyrine $T"
compare "find --content, 500 MB" 1.0 - "$REPS" "$CLI find --content zephyrine $T" \
    "grep -rli" "grep -rli zephyrine $T"

F=$FIX/files100k
compare "list, 100,000 files" 0.6 - "$REPS" "$CLI list $F" \
    "find -printf" "find $F -maxdepth 1 -type f -printf '%f %s %T@\n'"
for tree in name ext size date age; do
    compare "list --tree $tree, 100,000" 1.2 - "$REPS" \
        "$CLI list --tree $tree --basis modified $F" \
        "find -printf | sort -n" "find $F -maxdepth 1 -type f -printf '%s %f\n' | sort -n"
done

Z=$FIX/zip50k/entries.zip
compare "archive, zip of 50,000" 0.1 - "$REPS" "$CLI archive $Z" "unzip -l" "unzip -l $Z"

J=$FIX/jpeg25
mkdir -p "$WORK/thumbs" "$WORK/vips" "$WORK/convert"
# The cell of a 1000 x 750 page, as lumara-cli thumbs draws it by default.
compare "thumbs, 25 JPEGs of 8 MP" 0.5 - "$REPS" "$CLI thumbs $J --out $WORK/thumbs" \
    "vipsthumbnail" "vipsthumbnail $J/*.jpg -s 196x146! -o $WORK/vips/%s.jpg"
compare "thumbs, 25 JPEGs of 8 MP" - - 3 "$CLI thumbs $J --out $WORK/thumbs" \
    "convert -thumbnail" "for f in $J/*.jpg; do convert \$f -thumbnail 196x146! $WORK/convert/\$(basename \$f).png; done"

if [ "${QUICK:-0}" != 1 ]; then
    M=$FIX/files1m
    ls -f "$M" >/dev/null # the directory cache, warm for all
    compare "list, 1,000,000 files" 1.0 160 "$BIG_REPS" "$CLI list $M" "find | sort" "find $M | sort"
    compare "stats, 1,000,000 files" 1.5 300 "$BIG_REPS" "$CLI stats $M" "find | sort" "find $M | sort"
    for tree in name ext size date age; do
        compare "list --tree $tree, 1,000,000" 1.0 300 "$BIG_REPS" \
            "$CLI list --tree $tree --basis modified $M" \
            "find -printf | sort -n" "find $M -maxdepth 1 -type f -printf '%s %f\n' | sort -n"
    done
    WINDOW=$BUILD/bench/bench_window_listing
    wanted "window, 1,000,000 files" || WINDOW=/nonexistent/skipped
    if [ "$WINDOW" = /nonexistent/skipped ]; then
        :
    elif [ -x "$WINDOW" ]; then
        echo "timing: the window, 1,000,000 files" >&2
        /usr/bin/time -f '%M' -o "$WORK/peak" xvfb-run -a -s '-screen 0 1600x1000x24' \
            "$WINDOW" "$M" >"$WORK/window.out" 2>/dev/null || true
        full=$(awk '/time to full list/ {print $5}' "$WORK/window.out")
        gap=$(awk '/event loop max gap/ {print $5 / 1000}' "$WORK/window.out")
        key=$(awk '/key press max wait/ {print $5 / 1000}' "$WORK/window.out")
        whole=$(awk '{printf "%.0f", $1 / 1024}' "$WORK/peak")
        row "window: full list of 1,000,000" "${full:-?}" "limit" 2.5 "$whole" 1.0 500
        row "window: longest pause" "${gap:-?}" "limit" 0.05 - 1.0 -
        row "window: longest key wait" "${key:-?}" "limit" 0.05 - 1.0 -
        cp "$WORK/window.out" "$FIX/window-report.txt"
    else
        row "window, 1,000,000 files" - "not built: configure with -DLUMARA_BUILD_BENCH=ON" - - - -
    fi
fi

python3 - "$WORK/rows" <<'PY' | tee "$TABLE"
import sys
rows = [line.rstrip("\n").split("\t") for line in open(sys.argv[1])]
head = ("job", "Lumara s", "anchor", "anchor s", "ratio", "cpu ratio", "peak MB", "target", "met")
out = []
for job, ours, anchor, theirs, peak, ratio, mb, cpu in rows:
    try:
        r = float(ours) / float(theirs)
        shown = "%.2fx" % r
    except ValueError:
        r, shown = None, "-"
    targets, met = [], []
    if ratio != "-":
        targets.append("<= %sx" % ratio)
        met.append(r is not None and r <= float(ratio))
    if mb != "-":
        targets.append("<= %s MB" % mb)
        met.append(peak not in ("-", "") and float(peak) <= float(mb))
    verdict = "-" if not met else ("met" if all(met) else "NOT met")
    out.append((job, ours, anchor, theirs, shown, cpu, peak, ", ".join(targets) or "-", verdict))
widths = [max(len(str(c[i])) for c in [head] + out) for i in range(len(head))]
for line in [head] + out:
    print("  ".join(str(c).ljust(w) for c, w in zip(line, widths)).rstrip())
PY
echo "(wall: medians of $REPS runs, $BIG_REPS for 1,000,000 files; cpu: user + system; peak memory"
echo " of one run; $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg) at the end)"

if [ -n "${SAME_AS:-}" ]; then
    echo "outputs against $SAME_AS:"
    same() {
        "$CLI" "$@" >"$WORK/ours.out" 2>&1 || true
        "$SAME_AS" "$@" >"$WORK/theirs.out" 2>&1 || true
        if cmp -s "$WORK/ours.out" "$WORK/theirs.out"; then r=identical; else r=DIFFERENT; fi
        echo "  $r: $*"
    }
    same find --content zephyrine "$T"
    same find --content 'zeph*' --or --content '<>e?r' "$T"
    for folder in "$F" ${M:+"$M"}; do
        same list "$folder"
        same stats "$folder"
        for tree in name ext size date age; do
            same list --tree "$tree" --basis modified "$folder"
        done
    done
fi
