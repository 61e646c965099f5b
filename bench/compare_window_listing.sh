#!/bin/sh
# Opens one folder of 1,000,000 empty files in Lumara's window, in `lumara-cli list`, in
# pcmanfm-qt and in Double Commander, in one run, and prints each one's time to a full
# list and peak memory (VmHWM), plus how long Lumara's window went without answering.
#
# How "full list" is found:
#   Lumara's window: bench_window_listing opens the folder as a folder-tree click does and
#     stops its clock once the finished list is painted (exact).
#   lumara-cli list: the command's whole run, output to /dev/null.
#   pcmanfm-qt, Double Commander: they give no signal, so their CPU time is polled every
#     0.1 s; the list counts as shown at the last moment CPU time still rose before it
#     stayed flat for IDLE seconds (their busy time while reading, sorting and showing).
#     Start-up without the folder is not subtracted for any of them.
# The window's whole report, its tabs, trees and sorts timed too, is kept in
# /tmp/lumara-window-bench-window.out.
# usage: [PEERS="pcmanfm-qt doublecmd"] [SHOTS=folder] bench/compare_window_listing.sh
#        [build folder] [file count]
# needs: xvfb-run, pcmanfm-qt, doublecmd-qt (apt-get install -y pcmanfm-qt doublecmd-qt)
set -eu
BUILD=${1:-$(dirname "$0")/../build}
COUNT=${2:-1000000}
IDLE=${IDLE:-3}
DIR=/tmp/lumara-huge-$COUNT
SHOTS=${SHOTS:-}

if [ "$(ls -f "$DIR" 2>/dev/null | wc -l)" -ne $((COUNT + 2)) ]; then
    rm -rf "$DIR"
    mkdir -p "$DIR"
    python3 - "$DIR" "$COUNT" <<'PY'
import os, sys
d, n = sys.argv[1], int(sys.argv[2])
exts = ["txt", "jpg", "doc", "mp3", "c", "HTML"]
for i in range(n):
    fd = os.open(os.path.join(d, "File_%d_%s.%s" % ((i * 7919) % n, chr(97 + i % 26), exts[i % 6])),
                 os.O_CREAT | os.O_WRONLY, 0o644)
    os.close(fd)
PY
fi
# Warm the directory cache once, the same for all.
ls -f "$DIR" >/dev/null

# Runs a command to its end; prints "seconds peak_MB".
whole_run() {
    /usr/bin/time -f '%e %M' -o /tmp/lumara-window-bench.time "$@" >/tmp/lumara-window-bench.out
    awk '{printf "%.2f s  %.0f MB\n", $1, $2 / 1024}' /tmp/lumara-window-bench.time
}

# Starts a window program (its process is found by NAME: a launcher may come first),
# waits until its CPU time stops rising, ends it; prints "seconds peak_MB" (seconds from
# start to the last rise of CPU time).
until_idle() {
    name=$1
    shift
    HZ=$(getconf CLK_TCK)
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 &
    launcher=$!
    pid=
    while [ -z "$pid" ] && kill -0 $launcher 2>/dev/null; do
        pid=$(pgrep -n -x "$name" || true)
        sleep 0.02
    done
    last_cpu=-1
    last_change=$start
    while [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; do
        sleep 0.1
        cpu=$(awk '{print $14 + $15}' /proc/$pid/stat 2>/dev/null || echo -1)
        now=$(date +%s.%N)
        if [ "$cpu" != "$last_cpu" ]; then
            last_cpu=$cpu
            last_change=$now
        elif awk "BEGIN {exit !($now - $last_change >= $IDLE && $last_cpu > 0)}"; then
            break
        fi
    done
    peak=$(awk '/VmHWM/ {print $2}' /proc/$pid/status 2>/dev/null || echo 0)
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    kill $launcher 2>/dev/null || true
    wait $launcher 2>/dev/null || true
    awk "BEGIN {printf \"%.2f s  %.0f MB  (cpu %.1f s)\\n\", $last_change - $start, $peak / 1024, $last_cpu / $HZ}"
}

echo "folder: $DIR ($COUNT files)"
printf 'lumara window:      '
/usr/bin/time -f '%M' -o /tmp/lumara-window-bench.time "$BUILD/bench/bench_window_listing" "$DIR" $SHOTS \
    >/tmp/lumara-window-bench.out 2>/dev/null
awk '/time to full list/ {t = $5} /peak memory listed/ {m = $4} END {printf "%s s  %s MB", t, m}' \
    /tmp/lumara-window-bench.out
awk '{printf "  (%.0f MB after its tabs, trees and sorts)\n", $1 / 1024}' /tmp/lumara-window-bench.time
sed -n 's/^/    /; /event loop\|key press/p' /tmp/lumara-window-bench.out
cp /tmp/lumara-window-bench.out /tmp/lumara-window-bench-window.out
printf 'lumara-cli list:    '
whole_run "$BUILD/lumara-cli" list "$DIR"
export HOME=/tmp/lumara-window-bench-home
rm -rf "$HOME"
mkdir -p "$HOME"
case " ${PEERS:-pcmanfm-qt doublecmd} " in *" pcmanfm-qt "*)
printf 'pcmanfm-qt:         '
# pcmanfm-qt quits at once without a session bus.
until_idle pcmanfm-qt dbus-run-session pcmanfm-qt "$DIR"
;; esac
case " ${PEERS:-pcmanfm-qt doublecmd} " in *" doublecmd "*)
printf 'Double Commander:   '
until_idle doublecmd doublecmd -L "$DIR"
;; esac
