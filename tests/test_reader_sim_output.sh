#!/usr/bin/env bash
# The simulated reader says where it serves and how to make it read while it
# runs, not only when it ends: the demo and a technician's script read that
# from its output, which is a pipe or a file, not a terminal.
#   test_reader_sim_output.sh VELORIX_READER_SIM
set -euo pipefail
work=$(mktemp -d)
sim=
trap '[ -z "$sim" ] || kill "$sim" 2>/dev/null || true; rm -rf "$work"' EXIT
"$1" --rate 2400 >"$work/out" &
sim=$!
for _ in $(seq 100); do
    if grep -q "^reader at 2400 baud, 8 data bits, no parity (kill -USR1 $sim reads a cheque" \
        "$work/out"; then
        head -n 1 "$work/out" | grep -q '^/dev/pts/' || { echo "no device: $(cat "$work/out")" >&2; exit 1; }
        exit 0
    fi
    kill -0 "$sim" 2>/dev/null || { echo "the reader ended: $(cat "$work/out")" >&2; exit 1; }
    sleep 0.1
done
echo "nothing said in 10 s while running: $(cat "$work/out")" >&2
exit 1
