#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages that building and testing the
# configurator needs, when any of them is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libhidapi-dev
    # Without a font Qt draws empty boxes and says nothing; the form uses
    # Liberation Sans Narrow so that its texts fit the fixed layout.
    fonts-dejavu-core fonts-liberation
    # udevadm checks the udev rules; util-linux's unshare gives it a private /run.
    udev
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
