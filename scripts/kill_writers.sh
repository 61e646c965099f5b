#!/usr/bin/env bash
# Kills lumara-cli with SIGKILL at random moments while it copies, zips, extracts and
# saves a basket, then runs the same command again into the same folder, and counts the
# ".lumara-partial" files left after the kill and after the next run.
#   scripts/kill_writers.sh [build/lumara-cli] [TRIES]
set -u
cli=${1:-build/lumara-cli}
tries=${2:-25}
cli=$(realpath "$cli")
work=$(mktemp -d /tmp/lumara-kill.XXXXXX)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/in"
head -c $((32 << 20)) /dev/urandom >"$work/in/big.bin"
(cd "$work/in" && zip -q -0 big.zip big.bin)
for i in $(seq 1 2000); do echo "$work/in/big.bin"; done >"$work/in/paths"

run() { # op folder
    case $1 in
    copy) "$cli" copy --yes-all "$2" "$work/in/big.bin" ;;
    zip) "$cli" zip "$2/out.zip" "$work/in/big.bin" ;;
    unzip) "$cli" unzip --overwrite "$work/in/big.zip" big.bin "$2" ;;
    basket) xargs -a "$work/in/paths" "$cli" basket save "$2/out.bsk" ;;
    esac
}

partials() { find "$1" -name '.*lumara-partial-*' | wc -l; }

printf '%-7s %6s %22s %26s\n' op tries "killed while writing" "partials after next run"
for op in copy zip unzip basket; do
    start=$(date +%s%N)
    mkdir -p "$work/probe-$op"
    run "$op" "$work/probe-$op" >/dev/null 2>&1
    span=$((($(date +%s%N) - start) / 1000000)) # ms of one whole run
    [ "$span" -lt 2 ] && span=2
    left_by_kill=0
    left_after=0
    for try in $(seq 1 "$tries"); do
        dir="$work/$op-$try"
        mkdir -p "$dir"
        run "$op" "$dir" >/dev/null 2>&1 &
        pid=$!
        sleep "$(awk -v s="$span" -v r="$RANDOM" 'BEGIN { printf "%.3f", s * r / 32768 / 1000 }')"
        kill -9 "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        [ "$(partials "$dir")" -gt 0 ] && left_by_kill=$((left_by_kill + 1))
        run "$op" "$dir" >/dev/null 2>&1
        left_after=$((left_after + $(partials "$dir")))
    done
    printf '%-7s %6d %22d %26d\n' "$op" "$tries" "$left_by_kill" "$left_after"
done
