#!/usr/bin/env bash
# Start-up to the window shown, Dorvane beside a bare Qt window (bench/bench_startup.cpp), on a
# throwaway profile (the sample pictures, rotation on, not the first start) beside the stand-in,
# under an Xvfb of its own.
#
#   scripts/bench-startup.sh [BUILD_DIR] [RUNS] [PROGRAM]   (BUILD_DIR configured with the
#   benchmarks; PROGRAM another dvn to measure instead of BUILD_DIR's)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/messenger-api.sh
build=$(realpath "${1:-build-bench}")
runs=${2:-20}
program=${3:-$build/bin/dvn}
profile=$(mktemp -d -t dorvane-bench-XXXXXX)
trap 'kill "${xvfb:-0}" 2>/dev/null || true; rm -rf "$profile" "${runtime:-}"' EXIT
mkdir -p "$profile/config/Dorvane" "$profile/tmp"
# A desktop's runtime folder (/run/user/UID, where the lock goes) is in memory; /dev/shm is too.
runtime=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d -p "$profile")
printf '[firstrun]\nstate=1\n[autorun]\nstate=0\n[control]\nstate=1\n[imagepath]\npath=%s\n' \
    "$build/bin/images" >"$profile/config/Dorvane/Dorvane.ini"
export HOME=$profile XDG_CONFIG_HOME=$profile/config XDG_CONFIG_DIRS=$profile/xdg
export XDG_RUNTIME_DIR=$runtime Temp=$profile/tmp TMPDIR=$profile/tmp BROWSER=true
export QT_QPA_PLATFORM=xcb
exec 3< <(Xvfb -displayfd 1 -nolisten tcp -screen 0 1280x800x24 2>/dev/null)
xvfb=$!
read -r display <&3
export DISPLAY=:$display
dbus-run-session -- bash -c '
    eval "$4"
    "$1/bin/messenger-standin" --no-window --no-cache >/dev/null &
    wait_for_standin
    "$1/bench/bench_startup" "$2" "$3"
    kill %1' bench "$build" "$runs" "$program" "$(messenger_api_definitions)"
