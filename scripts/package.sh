#!/usr/bin/env bash
# Builds the Debian package: scripts/package.sh -> build-package/velorix-config_<version>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh dpkg-dev file
scripts/build.sh build-package -DCMAKE_BUILD_TYPE=Release -DVELORIX_BUILD_TESTS=OFF
(cd build-package && cpack -G DEB)
deb=$(ls build-package/velorix-config_*.deb)
dpkg-deb --info "$deb"
echo "built $deb"
