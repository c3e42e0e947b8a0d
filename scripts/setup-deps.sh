#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages that building and testing the
# configurator needs, when any of them is missing: as root directly, through
# sudo otherwise. A user without sudo gets the one command to run as root,
# and the script fails before anything else happens.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libhidapi-dev
    # The HID access library's tests mock the kernel's side of the readers.
    umockdev libumockdev-dev gir1.2-umockdev-1.0
    # ./test checks the formatting; CI runs clang-tidy.
    clang-format clang-tidy
    # ./test fuzzes the profile reader: libFuzzer and its sanitizers come with clang.
    clang-14 libclang-rt-14-dev
    # Without a font Qt draws empty boxes and says nothing; the form uses
    # Liberation Sans Narrow so that its texts fit the fixed layout.
    fonts-dejavu-core fonts-liberation
    # Qt's own texts (dialog buttons, file dialogs) in the operator's language.
    qt6-translations-l10n
    # udevadm checks the udev rules; util-linux's unshare gives it a private /run.
    udev
    # The tests of the fleet provisioning example run its playbook and lint its collection.
    ansible-core ansible-lint
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

install=(apt-get install -y --no-install-recommends "${missing[@]}")
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "Missing packages, and this user can neither install them nor use sudo." >&2
        echo "Run this line as root, then start again:" >&2
        echo "  apt-get update && ${install[*]}" >&2
        exit 1
    fi
    sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update
# env, because sudo drops the caller's environment.
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive "${install[@]}"
