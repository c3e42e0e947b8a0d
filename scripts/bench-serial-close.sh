#!/usr/bin/env bash
# How long closing a serial port takes after a write stalled (the device
# stopped reading): scripts/bench-serial-close.sh [ROUNDS]. The target is
# 100 ms; the program exits non-zero when a round exceeds it.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/build.ninja ] || scripts/build.sh build
cmake --build build --target bench-serial-close >/dev/null
build/bin/bench-serial-close "${1:-100}"
