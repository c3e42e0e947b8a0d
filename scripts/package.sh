#!/usr/bin/env bash
# Builds the Debian package from debian/ with dpkg-buildpackage:
# scripts/package.sh -> build-package/velorix-config_<version>_<arch>.deb (and
# its debug symbols, velorix-config-dbgsym_...). dpkg-buildpackage writes its
# results beside the source tree, so it builds a copy in build-package/src.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh debhelper dpkg-dev
out=build-package
rm -rf "$out"
mkdir -p "$out/src"
git ls-files -z --cached --others --exclude-standard |
    tar --null --files-from=- --ignore-failed-read -cf - | tar -xf - -C "$out/src"
(cd "$out/src" && dpkg-buildpackage -us -uc -b -J"$(nproc)")
deb=$(ls "$out"/velorix-config_*.deb)
dpkg-deb --info "$deb"
echo "built $deb"
