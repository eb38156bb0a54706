#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless on a private session
# bus; then builds again with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer and
# runs the tests labelled "sanitize" there.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
export QT_QPA_PLATFORM=offscreen
dbus-run-session -- ctest --test-dir build --output-on-failure -j2
scripts/build.sh build-asan -DDORVANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
    dbus-run-session -- ctest --test-dir build-asan --output-on-failure -L sanitize
