#!/usr/bin/env bash
# Builds the Debian packages from debian/ with dpkg-buildpackage:
# scripts/package.sh -> build-package/velorix-cli_<version>_<arch>.deb (the
# headless tool, the HID access library, the udev rules) and
# build-package/velorix-config_<version>_<arch>.deb (the window), each with
# its debug symbols (..-dbgsym_...). dpkg-buildpackage writes its results
# beside the source tree, so it builds a copy in build-package/src.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh debhelper dpkg-dev
out=build-package
rm -rf "$out"
mkdir -p "$out/src"
git ls-files -z --cached --others --exclude-standard |
    tar --null --files-from=- --ignore-failed-read -cf - | tar -xf - -C "$out/src"
(cd "$out/src" && dpkg-buildpackage -us -uc -b -J"$(nproc)")
for deb in "$out"/velorix-cli_*.deb "$out"/velorix-config_*.deb; do
    dpkg-deb --info "$deb"
    echo "built $deb"
done
