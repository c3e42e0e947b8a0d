#!/usr/bin/env bash
# Installs the headless package in a fresh Debian 12 (debootstrap minbase)
# and shows that it needs no graphical library and reads the simulated
# reader there: beside the simulated HID access library, and in place over
# the simulator's pseudo-terminal. Then it upgrades from the single package
# of 1.0 (the same files in one package) to the two packages. Run as root
# after scripts/package.sh; not run by CI (it needs Debian's mirror).
#   scripts/check-headless-install.sh [CHROOT]   (default /tmp/velorix-chroot)
set -euo pipefail
cd "$(dirname "$0")/.."
root=${1:-/tmp/velorix-chroot}
[ "$(id -u)" -eq 0 ] || { echo "run as root (debootstrap, chroot, mount)"; exit 1; }
cli_deb=$(ls build-package/velorix-cli_*.deb)
window_deb=$(ls build-package/velorix-config_*.deb)
sim_library=build/sim-hid/libhid_usb.so
sim=build/bin/velorix-reader-sim
if [ ! -f "$sim_library" ] || [ ! -x "$sim" ]; then
    echo "build the simulator first: cmake --build build --target velorix_sim_hid velorix-reader-sim"
    exit 1
fi

if [ ! -x "$root/usr/bin/apt-get" ]; then
    scripts/setup-deps.sh debootstrap
    debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian
fi
mounted=()
cleanup()
{
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" || true; done
}
trap cleanup EXIT
for fs in proc dev/pts; do
    if ! mountpoint -q "$root/$fs"; then
        mount --bind "/$fs" "$root/$fs"
        mounted+=("$root/$fs")
    fi
done
in_root() { chroot "$root" env LC_ALL=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

mkdir -p "$root/tmp/velorix"
cp "$cli_deb" "$window_deb" "$sim_library" "$sim" "$root/tmp/velorix/"
in_root apt-get -q update >/dev/null
in_root apt-get -y -q purge velorix-cli velorix-config >/dev/null 2>&1 || true

echo "== apt-get install velorix-cli"
install_log=$(in_root apt-get install -y --no-install-recommends "/tmp/velorix/$(basename "$cli_deb")")
echo "$install_log"
if grep -E '^Inst libqt6(widgets|gui)6' <<<"$install_log" ||
    grep -qE ' libqt6(widgets|gui)6( |$)' <<<"$(sed -n '/NEW packages/,/upgraded/p' <<<"$install_log")"; then
    echo "velorix-cli pulled a graphical library"
    exit 1
fi
in_root sh -c 'dpkg -l | grep -E "libqt6(gui|widgets)6" || echo "no libqt6gui6, no libqt6widgets6 installed"'
in_root getent group velorix

echo "== the simulated reader, beside the simulated HID access library"
in_root sh -c 'cd /tmp/velorix && cp /usr/bin/velorix-cli . && : >velorix-reader.state &&
    ./velorix-cli -v serial && ./velorix-cli list'
echo "== the simulated reader over a pseudo-terminal, the installed program in place"
# shellcheck disable=SC2016 # expanded by the chroot's shell
in_root sh -c '/tmp/velorix/velorix-reader-sim --rate 9600 >/tmp/velorix/sim.out 2>&1 & sim=$!
    sleep 1; pty=$(head -n 1 /tmp/velorix/sim.out)
    velorix-cli --port "$pty" info; status=$?; kill $sim; exit $status'

echo "== upgrade from the single package of 1.0"
old=$root/tmp/velorix/old
rm -rf "$old"
mkdir -p "$old/DEBIAN"
dpkg-deb -x "$cli_deb" "$old"
dpkg-deb -x "$window_deb" "$old"
depends=$(dpkg-deb --field "$window_deb" Depends | sed 's/, velorix-cli ([^)]*)//')
cat >"$old/DEBIAN/control" <<CONTROL
Package: velorix-config
Version: 1.0
Architecture: $(dpkg-deb --field "$window_deb" Architecture)
Maintainer: $(dpkg-deb --field "$window_deb" Maintainer)
Depends: $depends, $(dpkg-deb --field "$cli_deb" Depends | sed 's/adduser, //')
Description: configurator for Velorix USB cheque and barcode readers (1.0, one package)
CONTROL
dpkg-deb --root-owner-group -b "$old" "$root/tmp/velorix/velorix-config_1.0.deb" >/dev/null
in_root apt-get purge -y -q velorix-cli >/dev/null
in_root apt-get install -y -q --no-install-recommends /tmp/velorix/velorix-config_1.0.deb | tail -n 3
in_root apt-get install -y --no-install-recommends "/tmp/velorix/$(basename "$cli_deb")" \
    "/tmp/velorix/$(basename "$window_deb")" | grep -E 'Unpacking|Setting up velorix|Replac|rror' || true
in_root dpkg-query -W velorix-cli velorix-config
in_root dpkg -S /usr/bin/velorix-cli /usr/bin/velorix-config
echo "headless install checks passed in $root"
