#!/usr/bin/env bash
# Installs what is missing, builds, and starts the Messenger stand-in and Dorvane on the sample
# pictures, on a throwaway profile: settings, the log-on entry, the temporary folder and the
# first-run page all go into a folder that is removed afterwards, and pages are only printed.
# `scripts/demo.sh --real-profile` runs on your own profile instead (and leaves a log-on entry).
# Without a display both run under Xvfb (the script says so and keeps them running until Ctrl+C).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/messenger-api.sh

if [ "${1:-}" != --inside ]; then
    scripts/install-deps.sh
    scripts/build.sh build
    if [ "${1:-}" != --real-profile ]; then
        profile=$(mktemp -d -t dorvane-demo-XXXXXX)
        trap 'rm -rf "$profile"' EXIT
        mkdir -p "$profile/home" "$profile/config" "$profile/xdg" "$profile/tmp"
        export HOME="$profile/home" XDG_CONFIG_HOME="$profile/config"
        export XDG_CONFIG_DIRS="$profile/xdg" Temp="$profile/tmp" TMPDIR="$profile/tmp"
        # Pages that Dorvane opens (the first-run notice, the links) are printed, not opened.
        export BROWSER="$PWD/scripts/print-url.sh"
        echo "Throwaway profile in $profile (removed at the end)."
    fi
fi

run() {
    # A session bus of its own unless one is there already.
    if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
        dbus-run-session -- "$0" --inside
        return
    fi
    build/bin/messenger-standin &
    standin=$!
    trap 'kill $standin 2>/dev/null || true' EXIT
    # Dorvane finds the stand-in on the bus once it is there.
    wait_for_standin 50 || true
    build/bin/dvn
}

if [ "${1:-}" = --inside ]; then
    run
elif [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: running the stand-in and Dorvane under Xvfb (screen :99)."
    echo "Take a look with: DISPLAY=:99 import -window root shot.png"
    Xvfb :99 -screen 0 1280x800x24 >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill $xvfb 2>/dev/null || true; rm -rf "${profile:-/nonexistent}"' EXIT
    export DISPLAY=:99
    for _ in $(seq 100); do [ -e /tmp/.X11-unix/X99 ] && break; sleep 0.1; done
    run
else
    run
fi
