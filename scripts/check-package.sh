#!/usr/bin/env bash
# Builds the Debian packages and checks them as Debian does: lintian
# --pedantic with no error and no warning on both, the desktop entry and the
# AppStream metainfo without any remark, the distribution's hardening in
# every binary, manual pages that man renders without a warning; and that
# the headless package is headless: no graphical library among its
# dependencies, its bash completion where bash-completion looks, the udev
# rules and the group they name, and the takeover of its files from the
# single package before it. CI runs it after ./test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh debhelper dpkg-dev lintian devscripts appstream desktop-file-utils man-db
scripts/package.sh
cli=$(ls build-package/velorix-cli_*.deb)
window=$(ls build-package/velorix-config_*.deb)

for deb in "$cli" "$window"; do
    echo "== lintian --pedantic $deb"
    lintian --pedantic --fail-on error,warning "$deb"
done

root=build-package/installed
for deb in "$cli" "$window"; do
    dpkg-deb -x "$deb" "$root"
done

echo "== $cli: headless"
depends=$(dpkg-deb --field "$cli" Depends)
echo "Depends: $depends"
if grep -E 'libqt6(gui|widgets|opengl)|libgl|libx|fonts-' <<<"$depends"; then
    echo "velorix-cli depends on a graphical library"
    exit 1
fi
for field in Breaks Replaces; do
    value=$(dpkg-deb --field "$cli" "$field")
    [ "$value" = "velorix-config (<< 1.1~)" ] || { echo "$field: '$value'"; exit 1; }
done
grep -q "velorix-cli (= $(dpkg-deb --field "$cli" Version))" <<<"$(dpkg-deb --field "$window" Depends)" ||
    { echo "velorix-config does not depend on this velorix-cli"; exit 1; }
contents=$(dpkg-deb --contents "$cli")
for file in usr/bin/velorix-cli usr/lib/velorix-config/libhid_usb.so \
    usr/lib/udev/rules.d/70-velorix-reader.rules usr/share/man/man1/velorix-cli.1.gz \
    usr/share/bash-completion/completions/velorix-cli; do
    grep -q " \./$file$" <<<"$contents" || { echo "velorix-cli lacks $file"; exit 1; }
done
bash -n "$root"/usr/share/bash-completion/completions/velorix-cli
dpkg-deb --ctrl-tarfile "$cli" | tar -xOf - ./postinst | grep -q '^    addgroup --system --quiet velorix$' ||
    { echo "velorix-cli's postinst does not create the group velorix"; exit 1; }
grep -c 'GROUP="velorix", MODE="0660"' "$root"/usr/lib/udev/rules.d/70-velorix-reader.rules

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
for deb in build-package/velorix-cli-dbgsym_*.deb build-package/velorix-config-dbgsym_*.deb; do
    dpkg-deb -x "$deb" "$debug"
done
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
echo "package checks passed: $cli $window"
