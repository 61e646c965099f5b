#!/usr/bin/env bash
# Builds every fuzz target with clang, libFuzzer and the address and undefined-behaviour
# sanitizers, then runs each for the given number of seconds (default 60).
#   sh fuzz/run.sh [SECONDS] [TARGET...]
# Seeds: the test programs drop the fixtures they make into fuzz/corpus/<target>/ when
# LUMARA_FUZZ_SEEDS names that folder's parent; fuzz/seeds/<target>/ holds any kept by hand.
# Crashing inputs land in fuzz/crashes/<target>/; keep them as regression tests.
# LUMARA_SEED_BUILD names a build folder whose tests already run (e.g. build/): the seeds
# then come from there and only the fuzz targets are built with clang.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
shift || true

build="$top/build-fuzz"
seed_build=${LUMARA_SEED_BUILD:-$build}
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLUMARA_FUZZ=ON -DLUMARA_BUILD_TESTS="$([ "$seed_build" = "$build" ] && echo ON || echo OFF)" \
    -DLUMARA_BUILD_BENCH=OFF >/dev/null
if [ "$seed_build" = "$build" ]; then
    cmake --build "$build" --parallel "$(nproc)"
else
    fuzzers=()
    for f in "$top"/fuzz/*_fuzzer.cpp; do fuzzers+=("$(basename "$f" .cpp)"); done
    cmake --build "$build" --parallel "$(nproc)" --target "${fuzzers[@]}"
fi

corpus="$top/fuzz/corpus"
mkdir -p "$corpus"
# The tests write their fixtures as seeds; failures here are not the fuzzers' business.
# LUMARA_SEEDS_DONE=1 skips this when the corpus is already seeded.
if [ "${LUMARA_SEEDS_DONE:-0}" != 1 ]; then
    LUMARA_FUZZ_SEEDS="$corpus" ctest --test-dir "$seed_build" --parallel "$(nproc)" \
        >/dev/null 2>&1 || true
fi

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for f in "$build"/fuzz/*_fuzzer; do targets+=("$(basename "$f")"); done
fi
export QT_QPA_PLATFORM=offscreen
status=0
for t in "${targets[@]}"; do
    name=${t%_fuzzer}
    mkdir -p "$corpus/$name" "$top/fuzz/crashes/$name"
    dirs=("$corpus/$name")
    [ -d "$top/fuzz/seeds/$name" ] && dirs+=("$top/fuzz/seeds/$name")
    echo "== $t for ${seconds}s"
    if ! "$build/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$top/fuzz/crashes/$name/" -print_final_stats=1 "${dirs[@]}" \
        >"$build/fuzz/$t.log" 2>&1; then
        echo "   FAILED: see $build/fuzz/$t.log and fuzz/crashes/$name/"
        status=1
    else
        grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$build/fuzz/$t.log" | sed 's/^/   /'
    fi
done
exit $status
