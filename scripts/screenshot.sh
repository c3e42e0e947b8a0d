#!/usr/bin/env bash
# Starts the configurator on a virtual X display and saves a picture of its
# window: scripts/screenshot.sh [OUTPUT.png] [EXECUTABLE]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
exe=${2:-build/bin/velorix-config}
scripts/setup-deps.sh xvfb xauth imagemagick x11-utils
[ -x "$exe" ] || scripts/build.sh build

display=:97
Xvfb $display -screen 0 760x600x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display QT_QPA_PLATFORM=xcb "$exe" &
app=$!
# Wait for the main window to be mapped, then give it a moment to paint.
for _ in $(seq 50); do
    DISPLAY=$display xwininfo -name "Configurador Velorix II V1.0c" >/dev/null 2>&1 && break
    sleep 0.2
done
sleep 1
mkdir -p "$(dirname "$out")"
id=$(DISPLAY=$display xwininfo -name "Configurador Velorix II V1.0c" | awk '/Window id/ {print $4}')
DISPLAY=$display /usr/bin/import -window "$id" "$out"
echo "saved $out"
