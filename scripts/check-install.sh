#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks it as a desktop and a user would: the
# launcher, the metainfo and the log-on entry validate, the Debian package builds without a
# lintian error, and the installed program, run by a user who cannot write the prefix, starts
# beside the installed stand-in, finds its languages and sample pictures, and keeps that user's
# language choice in the user's own folder; run by root it leaves the prefix as it is; removing the
# package removes the program's own system log-on entry. Run as root (it runs the program as
# "nobody").
#
#   scripts/check-install.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/messenger-api.sh
build=$(realpath "${1:-build}")
work=$(mktemp -d -t dorvane-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
prefix=$work/prefix

echo "-- installing into $prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
cmake --install "$build" --prefix "$prefix" --component standin >/dev/null

echo "-- launcher and metainfo"
desktop-file-validate "$prefix/share/applications/example.dorvane.Dorvane.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/example.dorvane.Dorvane.metainfo.xml"

echo "-- Debian package"
(cd "$build" && cpack -G DEB >/dev/null && lintian --fail-on error dorvane_4.0_amd64.deb)

echo "-- the installed program, run by a user who cannot write $prefix"
home=$work/home
mkdir -p "$home/config" "$home/tmp" "$home/runtime" "$work/xdg"
chmod 700 "$home/runtime"
chown -R nobody:nogroup "$home"
as_user() {
    setpriv --reuid=nobody --regid=nogroup --clear-groups \
        env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/config" \
        XDG_CONFIG_DIRS="$work/xdg" XDG_RUNTIME_DIR="$home/runtime" Temp="$home/tmp" \
        TMPDIR="$home/tmp" BROWSER=true QT_QPA_PLATFORM=offscreen \
        DORVANE_INSTALLED_PREFIX="$prefix" "$@"
}
as_user dbus-run-session -- bash -c '
    eval "$2"
    "$1/bin/messenger-standin" --no-window >/dev/null &
    wait_for_standin
    "$1/bin/dvn" &
    for _ in $(seq 100); do
        picture=$(dbus-send --session --print-reply --dest="$MESSENGER_API_NAME" \
            "$MESSENGER_API_PATH" "$MESSENGER_API_INTERFACE.MyProperty" int32:2 2>/dev/null |
            grep -o "\"[^\"]*\"" || true)
        case "$picture" in *"$1/share/dorvane/images/"*) break ;; esac
        sleep 0.1
    done
    kill %2 %1
    case "$picture" in
        *"$1/share/dorvane/images/"*) echo "display picture: $picture" ;;
        *) echo "the installed program did not rotate its sample pictures" >&2; exit 1 ;;
    esac' check "$prefix" "$(messenger_api_definitions)"
entry=$home/config/autostart/dvn.desktop
[ -f "$entry" ] || { echo "no log-on entry in the user's folder" >&2; exit 1; }
desktop-file-validate "$entry"
as_user dbus-run-session -- "$build/tests/acceptance/tst_installed"

echo "-- the installed program, run by root, who can write $prefix, leaves it as it is"
mkdir -m 700 "$work/root-runtime"
touch "$work/stamp"
env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$work/root-runtime" QT_QPA_PLATFORM=offscreen \
    DORVANE_INSTALLED_PREFIX="$prefix" dbus-run-session -- "$build/tests/acceptance/tst_installed"
changed=$(find "$prefix" -newer "$work/stamp")
[ -z "$changed" ] || { echo "written into the installed copy: $changed" >&2; exit 1; }

echo "-- removing the package takes the program's own system log-on entry, and only that"
dpkg-deb -e "$build/dorvane_4.0_amd64.deb" "$work/control"
autostart=$work/autostart
mkdir "$autostart"
sed "s|/etc/xdg/autostart|$autostart|" "$work/control/postrm" >"$work/postrm"
grep -q "$autostart" "$work/postrm" || { echo "postrm names no autostart folder" >&2; exit 1; }
own() { sed "s|$prefix/bin/dvn|/usr/bin/dvn|" "$entry" >"$autostart/dvn.desktop"; }
other() { sed "s|$prefix/bin/dvn|/opt/other/dvn|" "$entry" >"$autostart/dvn.desktop"; }
expect() { # expect present|absent after: postrm ARGUMENT
    sh "$work/postrm" "$2"
    if [ -e "$autostart/dvn.desktop" ]; then state=present; else state=absent; fi
    [ "$state" = "$1" ] || { echo "postrm $2 left the entry $state" >&2; exit 1; }
}
own && expect present upgrade
own && expect absent remove
own && expect absent purge
other && expect present remove
echo "-- the installed copy is sound"
