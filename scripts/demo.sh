#!/usr/bin/env bash
# The configurator against two simulated readers, for trying it without one.
#
# Over HID: a copy of the configurator in build/demo finds the simulated HID
# access library beside it, exactly as the installed program finds the real
# one; the window takes the first reader, velorix-cli lists both. Over the
# serial link: velorix-reader-sim serves the same readers on pseudo-terminals,
# linked as the first two free /dev/ttyACMn (COM65 for ttyACM0), which needs
# root (or sudo) for the links in /dev. Each reader keeps its configuration
# and serial number (000001, 000002) in build/demo/velorix-reader.state and
# velorix-reader-2.state, so a write is still there after a restart. The
# headless velorix-cli sits beside the window in build/demo.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
demo=$build/demo

mkdir -p "$demo"
cp "$build/bin/velorix-config" "$build/bin/velorix-cli" "$demo/"
cp "$build/sim-hid/libhid_usb.so" "$demo/"
touch "$demo/velorix-reader.state" "$demo/velorix-reader-2.state"

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

n=0
while { [ -e /dev/ttyACM$n ] || [ -e /dev/ttyACM$((n + 1)) ]; } && [ $n -lt 30 ]; do
    n=$((n + 1))
done
ports=(/dev/ttyACM$n /dev/ttyACM$((n + 1)))
com=$((65 + n))

"$build/bin/velorix-reader-sim" --rate 2400 --readers 2 --state "$demo/velorix-reader.state" \
    >"$demo/reader-sim.log" 2>&1 &
sim=$!
cleanup() {
    kill "$sim" 2>/dev/null || true
    for port in "${ports[@]}"; do
        if [ -L "$port" ]; then "${sudo_cmd[@]}" rm -f "$port" || true; fi
    done
}
trap cleanup EXIT

ptys=()
for _ in $(seq 50); do
    mapfile -t ptys < <(grep '^/dev/pts/' "$demo/reader-sim.log" 2>/dev/null || true)
    [ "${#ptys[@]}" -eq 2 ] && break
    sleep 0.1
done

if [ "${#ptys[@]}" -eq 2 ] && "${sudo_cmd[@]}" ln -sfn "${ptys[0]}" "${ports[0]}" 2>/dev/null &&
    "${sudo_cmd[@]}" ln -sfn "${ptys[1]}" "${ports[1]}" 2>/dev/null; then
    echo "Two simulated readers (000001, 000002): HID (Teclado), and COM$com and COM$((com + 1))"
    echo "(${ports[0]} -> ${ptys[0]}, ${ports[1]} -> ${ptys[1]}) at 2400 baud."
    echo "In the window choose Dispositivo > Serial and pick COM$com."
    serial_port=COM$com
else
    echo "Two simulated readers (000001, 000002): HID (Teclado) only; the serial link needs"
    echo "links in /dev:"
    echo "  sudo ln -s ${ptys[0]:-<pty>} ${ports[0]}    # then choose COM$com under Dispositivo > Serial"
    serial_port=${ptys[0]:-<pty>}
fi
echo "Without the window, while it is open:"
printf '  %-44s # %s\n' "$demo/velorix-cli list" "both readers" \
    "$demo/velorix-cli info --device 000002" "the second over HID" \
    "$demo/velorix-cli info --all" "each of them" \
    "$demo/velorix-cli --port $serial_port info" "over the serial port" \
    "$demo/velorix-cli --port $serial_port watch" "then kill -USR1 $sim: the reader reads a cheque"
echo "Ferramentas > Teste de leitura: kill -USR1 $sim (cheque) or -USR2 (bank slip) in Serial mode;"
echo "  in Teclado mode: $build/bin/velorix-reader-sim --type cheque --state $demo/velorix-reader.state | tr '\\r' '\\n' | xdotool type --file -"
"$demo/velorix-config"
