#!/usr/bin/env bash
# How soon the window paints itself again when it is uncovered while a
# command waits for the reader. Under Xvfb with the real xcb platform, the
# configurator reads the configuration over HID with no reader attached
# (five open attempts a second apart), and a window of another program covers
# and uncovers it three times during that wait: scripts/bench-repaint.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh xvfb xauth xdotool x11-utils
[ -x build/bin/velorix-config ] || scripts/build.sh build

display=:95
title="Configurador Velorix II V1.0c"
Xvfb $display -screen 0 760x600x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display
# The real HID access library beside the program finds no reader here.
QT_QPA_PLATFORM=xcb build/bin/velorix-config >/dev/null 2>&1 &
app=$!
for _ in $(seq 50); do
    xwininfo -name "$title" >/dev/null 2>&1 && break
    sleep 0.2
done
sleep 1
id=$(xwininfo -name "$title" | awk '/Window id/ {print $4}')

echo "Idle window:"
python3 scripts/bench_repaint.py "$id" 1 0.2
# "Obter Configuração", then cover and uncover during the five-second wait.
xdotool mousemove --window "$id" 250 487 click 1
sleep 0.5
echo "During the wait for the reader:"
python3 scripts/bench_repaint.py "$id" 3 0.4
