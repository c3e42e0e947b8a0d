#!/usr/bin/env bash
# Fuzzes the profile reader (tests/fuzz) with libFuzzer, clang's address and
# undefined-behaviour sanitizers on, starting from the seed corpus:
#   scripts/fuzz-profile.sh [SECONDS] [BUILD_DIR]    (default 300 s, build-fuzz)
#   scripts/fuzz-profile.sh --runs N [BUILD_DIR]     (N inputs, as ./test does)
# Inputs it finds go to BUILD_DIR/corpus; a failure leaves crash-* there and
# the exit status non-zero.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
limit=(-max_total_time="${1:-300}")
if [ "${1:-}" = --runs ]; then
    limit=(-runs="$2")
    shift
fi
build=${2:-$source_dir/build-fuzz}
clangxx=$(command -v clang++-14 || command -v clang++)
clangc=$(command -v clang-14 || command -v clang)
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$source_dir/tests/fuzz" -B "$build" -G Ninja -DCMAKE_C_COMPILER="$clangc" \
    -DCMAKE_CXX_COMPILER="$clangxx" "${launcher[@]}" >/dev/null
cmake --build "$build" -- -j2 >/dev/null
mkdir -p "$build/corpus"
cd "$build"
# Qt's own allocations at exit are not the reader's.
ASAN_OPTIONS=detect_leaks=0 ./fuzz_profile "${limit[@]}" -max_len=4096 -print_final_stats=1 \
    corpus "$source_dir/tests/fuzz/seeds"
