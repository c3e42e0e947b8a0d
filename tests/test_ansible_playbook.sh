#!/usr/bin/env bash
# The Ansible example run twice on this machine against two simulated HID readers: the first
# run writes and reports changed, the second changes nothing; the inventory lists both readers.
#   test_ansible_playbook.sh VELORIX_CLI SIM_HID_LIBRARY EXAMPLE_FOLDER
set -euo pipefail
cli=$1 simulated_library=$2 example=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
cp "$cli" "$simulated_library" "$work/bin/"
: >"$work/bin/velorix-reader.state" # fresh readers, factory configuration "FABRICA"
: >"$work/bin/velorix-reader-2.state"
# The window's save of its start-up record: "USERCONF" and the default settings.
printf '\x1aUSERCONF\xd2\xf7\xc4\x44\x02\x21\x3f\x09\x09\x09\x09\x00\x0d\x02\x00\x03\x00\x02\x03' \
    >"$work/agencia.cfg"
printf '[leitores]\nlocalhost ansible_connection=local ansible_python_interpreter=/usr/bin/python3\n' \
    >"$work/inventario.ini"

export ANSIBLE_HOME="$work/ansible" ANSIBLE_LOCAL_TEMP="$work/ansible/tmp"
export ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_DEPRECATION_WARNINGS=0
run() {
    ansible-playbook -i "$work/inventario.ini" "$example/site.yml" \
        -e velorix_cli="$work/bin/velorix-cli" -e velorix_config_file="$work/agencia.cfg" \
        -e velorix_remote_dir="$work/posto" -e velorix_inventory_file="$work/inventario.csv"
}
fail() { echo "FAIL: $*" >&2; exit 1; }
# The status line that follows the header line of the task that applies the file.
apply_status() { grep -A1 "^TASK \[velorix_reader : Aplicar a configuração ao leitor\]" <<<"$1" | tail -n 1; }

first=$(run) || fail "first run: $first"
[ "$(apply_status "$first")" = "changed: [localhost]" ] || fail "the first run did not write: $first"
for state in "$work/bin/velorix-reader.state" "$work/bin/velorix-reader-2.state"; do
    grep -q "configuration=55534552434F4E46D2F7C444" "$state" ||
        fail "a reader does not hold the configuration: $(cat "$state")"
done

second=$(run) || fail "second run: $second"
echo "$second" | grep -E '^localhost +: ok=[0-9]+ +changed=0 +unreachable=0 +failed=0' ||
    fail "the second run changed something: $second"
[ "$(apply_status "$second")" = "ok: [localhost]" ] || fail "the second run wrote again: $second"

grep -qx '"localhost","1-1","000001","VELORIX II 1.05","USERCONF"' "$work/inventario.csv" &&
    grep -qx '"localhost","1-2","000002","VELORIX II 1.05","USERCONF"' "$work/inventario.csv" ||
    fail "inventory: $(cat "$work/inventario.csv")"
