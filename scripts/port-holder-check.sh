#!/usr/bin/env bash
# Field check of how the configurator treats a port that another program
# holds. Run as root on a machine whose /dev/ttyACM0 and /dev/ttyACM1 are free:
#  - a second program (python3) holds a pseudo-terminal linked as
#    /dev/ttyACM0 (COM65), marked exclusive (TIOCEXCL), with input it has not
#    read yet;
#  - the simulated reader serves /dev/ttyACM1 (COM66) at 2400 baud;
#  - the configurator's window, offscreen, builds its port dialog, picks
#    COM66 and runs "Obter Configuração" there;
#  - the holder then shows its mark and reads its input back.
# The links are removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "run as root: the check links devices in /dev" >&2; exit 1; }
for link in /dev/ttyACM0 /dev/ttyACM1; do
    [ ! -e "$link" ] && [ ! -L "$link" ] || { echo "$link exists; the check needs it free" >&2; exit 1; }
done
[ -f build/build.ninja ] || scripts/build.sh build
cmake --build build --target port-holder-check velorix-reader-sim >/dev/null

work=$(mktemp -d)
holder= sim=
cleanup() {
    [ -z "$sim" ] || kill "$sim" 2>/dev/null || true
    [ -z "$holder" ] || kill "$holder" 2>/dev/null || true
    rm -f /dev/ttyACM0 /dev/ttyACM1
    rm -rf "$work"
}
trap cleanup EXIT

python3 - "$work" <<'HOLDER' &
import fcntl, os, struct, sys, termios, time, tty
work = sys.argv[1]
TIOCGEXCL = 0x80045440  # _IOR('T', 0x40, int)
def mark(fd):
    return struct.unpack("i", fcntl.ioctl(fd, TIOCGEXCL, b"\0" * 4))[0]
def waiting(fd):
    return struct.unpack("i", fcntl.ioctl(fd, termios.FIONREAD, b"\0" * 4))[0]
master, slave = os.openpty()
tty.setraw(slave)
fcntl.ioctl(slave, termios.TIOCEXCL)
os.symlink(os.ttyname(slave), "/dev/ttyACM0")
os.write(master, b"input the holder has not read\n")
time.sleep(0.2)
print(f"holder: /dev/ttyACM0 -> {os.ttyname(slave)}, exclusive mark {mark(slave)}, "
      f"{waiting(slave)} bytes of input waiting", flush=True)
open(os.path.join(work, "ready"), "w").close()
while not os.path.exists(os.path.join(work, "done")):
    time.sleep(0.1)
print(f"holder after: exclusive mark {mark(slave)}, {waiting(slave)} bytes waiting", flush=True)
os.set_blocking(slave, False)
print(f"holder reads: {os.read(slave, 256)!r}", flush=True)
HOLDER
holder=$!
build/bin/velorix-reader-sim --rate 2400 --link /dev/ttyACM1 >"$work/sim.log" 2>&1 &
sim=$!
for _ in $(seq 100); do
    [ -e "$work/ready" ] && [ -L /dev/ttyACM1 ] && break
    sleep 0.1
done
QT_QPA_PLATFORM=offscreen build/bin/port-holder-check 66
touch "$work/done"
wait "$holder"
holder=
echo "simulated reader heard:"
grep '^request' "$work/sim.log" | sed 's/^/  /'
