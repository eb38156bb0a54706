#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless on a private session
# bus; checks an installed copy and the Debian package; lints the sources (clang-tidy, cppcheck,
# clang-format); then runs the same suite built with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer, and a short bounded run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
export DORVANE_WITH_DEV_TOOLS=1
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

echo "== Tests"
scripts/build.sh build -DDORVANE_BUILD_BENCHMARKS=ON
dbus-run-session -- ctest --test-dir build --output-on-failure -j2

echo "== The installed program, its desktop files and its package"
scripts/check-install.sh build

echo "== Lint"
# The same build folders as the tests and the fuzz run: nothing is built twice.
scripts/lint.sh build "${DORVANE_FUZZ_BUILD:=build-fuzz}"

echo "== Tests under AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer"
scripts/build.sh build-asan -DDORVANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
# Qt's own event loop rather than GLib's: a GLib thread's thread-local data makes LeakSanitizer's
# tracer itself crash at exit.
QT_NO_GLIB=1 ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
    dbus-run-session -- ctest --test-dir build-asan --output-on-failure -j2

echo "== Fuzz targets, ${DORVANE_FUZZ_SECONDS:=60} s each"
DORVANE_FUZZ_BUILD="$DORVANE_FUZZ_BUILD" scripts/fuzz.sh "$DORVANE_FUZZ_SECONDS"
