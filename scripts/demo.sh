#!/usr/bin/env bash
# The configurator against the simulated reader, for trying it without one.
#
# Over HID: a copy of the configurator in build/demo finds the simulated HID
# access library beside it, exactly as the installed program finds the real
# one. Over the serial link: velorix-reader-sim serves the same reader on a
# pseudo-terminal, linked as the first free /dev/ttyACMn (COM65 for ttyACM0),
# which needs root (or sudo) for the link in /dev. Both keep the reader's
# configuration and serial number in build/demo/velorix-reader.state, so a
# write is still there after a restart. The headless velorix-cli sits beside
# the window in build/demo, for trying it against the same reader.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
demo=$build/demo

mkdir -p "$demo"
cp "$build/bin/velorix-config" "$build/bin/velorix-cli" "$demo/"
cp "$build/sim-hid/libhid_usb.so" "$demo/"
touch "$demo/velorix-reader.state"

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

n=0
while [ -e /dev/ttyACM$n ] && [ $n -lt 31 ]; do n=$((n + 1)); done
port=/dev/ttyACM$n
com=$((65 + n))

"$build/bin/velorix-reader-sim" --rate 2400 --state "$demo/velorix-reader.state" \
    >"$demo/reader-sim.log" 2>&1 &
sim=$!
cleanup() {
    kill "$sim" 2>/dev/null || true
    if [ -L "$port" ]; then "${sudo_cmd[@]}" rm -f "$port" || true; fi
}
trap cleanup EXIT

pty=
for _ in $(seq 50); do
    pty=$(head -n 1 "$demo/reader-sim.log" 2>/dev/null || true)
    [ -n "$pty" ] && break
    sleep 0.1
done

if [ -n "$pty" ] && "${sudo_cmd[@]}" ln -sfn "$pty" "$port" 2>/dev/null; then
    echo "Simulated reader: HID (Teclado) and COM$com ($port -> $pty) at 2400 baud."
    echo "In the window choose Dispositivo > Serial and pick COM$com."
    serial_port=COM$com
else
    echo "Simulated reader: HID (Teclado) only; the serial link needs a link in /dev:"
    echo "  sudo ln -s ${pty:-<pty>} $port    # then choose COM$com under Dispositivo > Serial"
    serial_port=${pty:-<pty>}
fi
echo "Without the window, while it is open:"
printf '  %-44s # %s\n' "$demo/velorix-cli info" "over HID" \
    "$demo/velorix-cli --port $serial_port info" "over the serial port" \
    "$demo/velorix-cli --port $serial_port watch" "then kill -USR1 $sim: the reader reads a cheque"
echo "Ferramentas > Teste de leitura: kill -USR1 $sim (cheque) or -USR2 (bank slip) in Serial mode;"
echo "  in Teclado mode: $build/bin/velorix-reader-sim --type cheque --state $demo/velorix-reader.state | tr '\\r' '\\n' | xdotool type --file -"
"$demo/velorix-config"
