#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds
# (600 when none is given), starting from the seed inputs in fuzz/seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
CXX=clang++ CC=clang scripts/build.sh build-fuzz -DDORVANE_BUILD_FUZZERS=ON \
    -DDORVANE_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
for target in fuzz_imageheader fuzz_langfile; do
    corpus="build-fuzz/corpus/$target"
    mkdir -p "$corpus"
    seeds=()
    [ -d "fuzz/seeds/$target" ] && seeds=("fuzz/seeds/$target")
    echo "-- $target for $seconds s"
    "build-fuzz/fuzz/$target" -max_total_time="$seconds" -max_len=70000 -print_final_stats=1 \
        "$corpus" "${seeds[@]}" 2>&1 | tail -n 12
done
