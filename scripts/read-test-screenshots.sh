#!/usr/bin/env bash
# Pictures of "Ferramentas" > "Teste de leitura" under Xvfb after the
# simulated reader has read a cheque and a bank slip, in each mode:
# docs/read-test-teclado.png and docs/read-test-serial.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh xvfb xauth
[ -x build/bin/read-test-shot ] || cmake --build build --target read-test-shot
display=:96
Xvfb $display -screen 0 1600x900x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
for mode in teclado serial; do
    DISPLAY=$display QT_QPA_PLATFORM=xcb build/bin/read-test-shot $mode docs/read-test-$mode.png
    echo "saved docs/read-test-$mode.png"
done
