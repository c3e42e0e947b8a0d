#!/usr/bin/env bash
# Runs a program that saves a picture to the path given as its last argument,
# and checks that it did so, at the expected size:
#   check_png_size.sh WIDTH HEIGHT PROGRAM [ARGUMENTS...]
set -euo pipefail
width=$1 height=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$@" "$work/shot.png"
# A PNG's header chunk holds the width and height, big-endian, at bytes 16 to 23.
read -r w h < <(od -An -tu1 -j16 -N8 "$work/shot.png" |
    awk '{print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8}')
[ "$(head -c 8 "$work/shot.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
    { echo "not a PNG file" >&2; exit 1; }
if [ "$w" != "$width" ] || [ "$h" != "$height" ]; then
    echo "picture is ${w}x$h, not ${width}x$height" >&2
    exit 1
fi
