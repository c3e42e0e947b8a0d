#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over the production sources of a configured
# build folder: scripts/check-tidy.sh [BUILD_DIR]. Any finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
git ls-files '*.cpp' '*.c' | grep -E '^(platform|link|config|commands|app|hid_usb)/' |
    xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet --warnings-as-errors='*'
