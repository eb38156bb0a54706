#!/usr/bin/env bash
# Installs what building, running and testing Dorvane needs on Debian 12; installs only what is
# missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev
    libstb-dev libx11-dev libfuse3-dev libstrophe-dev qtkeychain-qt6-dev libglib2.0-dev
    prosody gnome-keyring libsecret-tools openssl
    dbus dbus-bin xvfb xauth x11-utils fonts-dejavu-core fonts-dejavu-extra
    qt6-wayland qt6-translations-l10n
    at-spi2-core python3-pyatspi
    pidgin
)
if [ "${DORVANE_WITH_DEV_TOOLS:-0}" = 1 ]; then
    packages+=(clang libclang-rt-14-dev libbenchmark-dev clang-tidy clang-format cppcheck
        weston appstream desktop-file-utils lintian dpkg-dev)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
