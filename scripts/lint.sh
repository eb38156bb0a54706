#!/usr/bin/env bash
# Runs clang-tidy (checks in .clang-tidy) and cppcheck over every source file of the project in
# the compile database of a build folder, and checks that every C++ file is laid out as
# .clang-format says; exits non-zero on any finding of any of them.
#
#   scripts/lint.sh [BUILD_DIR] [FUZZ_BUILD_DIR]
#
# BUILD_DIR (default build-lint) is configured with the benchmarks and built first, so that the
# generated moc files the sources include exist. FUZZ_BUILD_DIR (default build-lint-fuzz) is a
# clang build with the fuzz targets, which only build with clang; it is configured only when
# clang++ is installed, and only its fuzz/ sources are read from it.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
root=$PWD
build=$(realpath -m "${1:-build-lint}")
fuzzbuild=$(realpath -m "${2:-build-lint-fuzz}")
jobs=2

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)

configure_and_build() { # dir, "targets" (empty for all), cmake options...
    local dir=$1 targets=$2
    shift 2
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S . -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null ||
            return 1
    fi
    # shellcheck disable=SC2086 # targets is a list
    cmake --build "$dir" -j"$jobs" ${targets:+--target $targets} >/dev/null || {
        echo "lint: the build in $dir fails; fix that first" >&2
        return 1
    }
}

configure_and_build "$build" "" -DDORVANE_BUILD_BENCHMARKS=ON || exit 2
withfuzz=0
if command -v clang++ >/dev/null; then
    CXX=clang++ configure_and_build "$fuzzbuild" "fuzz_imageheader fuzz_langfile" \
        -DDORVANE_BUILD_FUZZERS=ON -DDORVANE_BUILD_TESTS=OFF || exit 2
    withfuzz=1
else
    echo "lint: clang++ not installed, fuzz/ is not linted" >&2
fi

# One database of the project's own sources: the generated moc sources of the build folders
# are left out, fuzz/ comes from the clang build, and a file listed twice is read once.
db=$build/lint
mkdir -p "$db"
if ! python3 - "$root" "$build/compile_commands.json" "$fuzzbuild/compile_commands.json" \
    "$withfuzz" "$db/compile_commands.json" <<'EOF'
import json, os, re, sys
root, main_db, fuzz_db, with_fuzz, out = sys.argv[1:]
own = re.compile(re.escape(root) + r'/(src|standin|tests|bench|fuzz)/')
entries, seen = [], set()
sources = [(main_db, lambda p: not p.startswith(root + '/fuzz/'))]
if with_fuzz == '1':
    sources.append((fuzz_db, lambda p: p.startswith(root + '/fuzz/')))
for path, wanted in sources:
    for entry in json.load(open(path)):
        file = os.path.normpath(os.path.join(entry['directory'], entry['file']))
        if own.match(file) and wanted(file) and file not in seen:
            seen.add(file)
            entries.append(entry)
json.dump(entries, open(out, 'w'), indent=1)
print(f'lint: {len(entries)} source files')
EOF
then
    exit 2
fi

status=0

echo "lint: clang-tidy"
tidy_log=$db/clang-tidy.log
if command -v run-clang-tidy-14 >/dev/null; then
    run-clang-tidy-14 -p "$db" -j "$jobs" -quiet >"$tidy_log" 2>&1
    tidy_rc=$?
else
    tidy_rc=0
    while read -r file; do
        clang-tidy -p "$db" --quiet "$file" >>"$tidy_log" 2>&1 || tidy_rc=1
    done < <(python3 -c 'import json,sys; [print(e["file"]) for e in json.load(open(sys.argv[1]))]' \
        "$db/compile_commands.json")
fi
# Findings only, each once (a header's finding comes once per file that includes it), without
# the colours run-clang-tidy asks for.
sed -r 's/\x1b\[[0-9;]*m//g' "$tidy_log" | grep -E '^[^ ]+:[0-9]+:[0-9]+: (warning|error):' |
    sort -u | tee "$db/clang-tidy.txt"
if [ "$tidy_rc" -ne 0 ] || [ -s "$db/clang-tidy.txt" ]; then
    echo "lint: clang-tidy found $(wc -l <"$db/clang-tidy.txt") problems (log: $tidy_log)"
    status=1
fi

echo "lint: cppcheck"
mkdir -p "$db/cppcheck"
# Qt's generated moc files and the system headers are not ours to fix.
cppcheck --project="$db/compile_commands.json" --enable=warning,performance,portability \
    --library=qt --std=c++20 --inline-suppr --error-exitcode=1 -j "$jobs" --quiet \
    --cppcheck-build-dir="$db/cppcheck" \
    --suppress='*:*_autogen/*' --suppress='*:/usr/*' \
    --template='{file}:{line}:{column}: {severity}: {message} [{id}]' || status=1

echo "lint: clang-format"
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run -Werror || status=1

if [ $status -eq 0 ]; then
    echo "lint: clean"
fi
exit $status
