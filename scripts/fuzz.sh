#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds
# (600 when none is given), starting from the few hand-picked seed inputs in fuzz/seeds; the build
# folder is build-fuzz, or $DORVANE_FUZZ_BUILD. What a run finds stays in the build folder's
# corpus/ and is used again by the next run there; the repository keeps only the seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
# Only the fuzz targets and the core they test: the windows are not fuzzed.
CXX=clang++ CC=clang cmake -S . -B "${DORVANE_FUZZ_BUILD:=build-fuzz}" "${generator[@]}" \
    -DDORVANE_BUILD_FUZZERS=ON -DDORVANE_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$DORVANE_FUZZ_BUILD" -j"$(nproc)" --target fuzz_imageheader fuzz_langfile
for target in fuzz_imageheader fuzz_langfile; do
    corpus="$DORVANE_FUZZ_BUILD/corpus/$target"
    mkdir -p "$corpus"
    seeds=()
    [ -d "fuzz/seeds/$target" ] && seeds=("fuzz/seeds/$target")
    echo "-- $target for $seconds s"
    "$DORVANE_FUZZ_BUILD/fuzz/$target" -max_total_time="$seconds" -max_len=70000 -print_final_stats=1 \
        "$corpus" "${seeds[@]}" 2>&1 | tail -n 12
done
