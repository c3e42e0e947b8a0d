#!/usr/bin/env bash
# Builds the Debian package and checks it as Debian does: lintian --pedantic
# with no error and no warning, the desktop entry and the AppStream metainfo
# without any remark, the distribution's hardening in every binary, and a
# manual page that man renders without a warning. CI runs it after ./test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh debhelper dpkg-dev lintian devscripts appstream desktop-file-utils man-db
scripts/package.sh
deb=$(ls build-package/velorix-config_*.deb)

echo "== lintian --pedantic $deb"
lintian --pedantic --fail-on error,warning "$deb"

root=build-package/installed
dpkg-deb -x "$deb" "$root"

echo "== desktop-file-validate"
remarks=$(desktop-file-validate "$root"/usr/share/applications/*.desktop)
[ -z "$remarks" ] || { echo "$remarks"; exit 1; }

echo "== appstreamcli validate --pedantic"
# --no-net: the home page and screenshot addresses are not reachable from CI.
appstreamcli validate --pedantic --strict --no-net "$root"/usr/share/metainfo/*.metainfo.xml
appstreamcli validate-tree --pedantic --strict --no-net "$root"

echo "== hardening-check"
# What dpkg-buildflags of Debian 12 gives with hardening=+all: PIE, stack
# protector, fortify, relro and bindnow (control-flow protection is not one).
hardening-check --nocfprotection "$root"/usr/bin/*
# The HID access library has no function that the stack protector guards (no
# local array), so no guard is there to be found. The debug symbols show that
# every compilation unit of every binary was compiled with the protector.
hardening-check --nocfprotection --nostackprotector "$root"/usr/lib/velorix-config/*.so
debug=build-package/debug
dpkg-deb -x build-package/velorix-config-dbgsym_*.deb "$debug"
producers=$(find "$debug" -path '*/.build-id/*.debug' -exec readelf --debug-dump=info {} + 2>/dev/null |
    grep DW_AT_producer)
unguarded=$(grep -v -e -fstack-protector-strong <<<"$producers" || true)
if [ -z "$producers" ] || [ -n "$unguarded" ]; then
    echo "compiled without the stack protector: ${unguarded:-no debug symbols found}"
    exit 1
fi
echo "stack protector: all $(wc -l <<<"$producers") compilation units"

echo "== man"
for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
done
echo "package checks passed: $deb"
