#!/usr/bin/env bash
# The cost of velorix-cli itself, per command: the program beside the
# simulated HID access library, whose reader answers at once, so no mandated
# wait (HID open pauses, answer waits) is in the figures. The target is
# under 20 ms a command. "--version" shows what starting any Qt Core program
# costs here (the loader, Qt Core and its libraries); the rest of each
# figure is the command's own work.
#   scripts/bench-cli.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
scripts/setup-deps.sh hyperfine
cmake --build "$build" --target velorix-cli velorix_sim_hid >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/bin/velorix-cli" "$build/sim-hid/libhid_usb.so" "$work/"
: >"$work/velorix-reader.state"
cli=$work/velorix-cli
"$cli" read -o "$work/reader.cfg" 2>/dev/null

echo "velorix-cli over the simulated HID library ($(nproc) cores, load $(cut -d' ' -f1 /proc/loadavg))"
hyperfine -N --warmup 5 --runs 60 --style basic --export-json "$work/figures.json" \
    -n "start-up only (--version)" "$cli --version" \
    -n "serial" "$cli serial" \
    -n "firmware" "$cli firmware" \
    -n "read" "$cli read" \
    -n "info --json" "$cli info --json" \
    -n "apply (unchanged)" "$cli apply $work/reader.cfg" \
    -n "write (and read back)" "$cli write $work/reader.cfg" \
    -n "show FILE" "$cli show $work/reader.cfg" \
    -n "diff FILE reader" "$cli diff $work/reader.cfg reader" >/dev/null 2>&1
# Wall time suffers from whatever else the machine runs; the processor time
# the program takes (user + system) does much less.
python3 - "$work/figures.json" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
cpu = lambda r: (r["user"] + r["system"]) * 1000
base = cpu(results[0])
print(f"{'command':28} {'wall mean':>10} {'wall min':>9} {'cpu':>7} {'cpu beyond start-up':>20}")
for r in results:
    print(f"{r['command']:28} {r['mean']*1000:8.1f}ms {r['min']*1000:7.1f}ms {cpu(r):5.1f}ms"
          f" {cpu(r) - base:18.1f}ms")
PY
