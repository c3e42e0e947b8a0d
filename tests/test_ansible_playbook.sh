#!/usr/bin/env bash
# The Ansible example on this machine against two simulated HID readers: --check on fresh readers
# runs through and writes nothing; a run writes a .cfg with two settings by name on top and shows
# the fields with --diff; a rerun changes nothing; --check on equal readers is ok, on a reader
# changed behind its back reports that one and writes nothing; a bad setting name fails with the
# tool's message. The inventory lists both readers.
#   test_ansible_playbook.sh VELORIX_CLI SIM_HID_LIBRARY EXAMPLE_FOLDER
set -euo pipefail
cli=$1 simulated_library=$2 example=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
cp "$cli" "$simulated_library" "$work/bin/"
cli=$work/bin/velorix-cli
: >"$work/bin/velorix-reader.state" # fresh readers, factory configuration "FABRICA"
: >"$work/bin/velorix-reader-2.state"
# The window's save of its start-up record: "USERCONF" and the default settings.
printf '\x1aUSERCONF\xd2\xf7\xc4\x44\x02\x21\x3f\x09\x09\x09\x09\x00\x0d\x02\x00\x03\x00\x02\x03' \
    >"$work/agencia.cfg"
printf '[leitores]\nlocalhost ansible_connection=local ansible_python_interpreter=/usr/bin/python3\n' \
    >"$work/inventario.ini"
settings='{"velorix_settings": {"keyboardSpeed": "70 toques por segundo", "sendCrAfterData": false}}'

export ANSIBLE_HOME="$work/ansible" ANSIBLE_LOCAL_TEMP="$work/ansible/tmp"
export ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_DEPRECATION_WARNINGS=0
run() {
    ansible-playbook -i "$work/inventario.ini" "$example/site.yml" -e velorix_cli="$cli" \
        -e velorix_config_file="$work/agencia.cfg" -e velorix_inventory_file="$work/inventario.csv" \
        "$@"
}
fail() { echo "FAIL: $*" >&2; exit 1; }
# The status line of the task that configures the readers (after its diff, when there is one).
apply_status() {
    sed -n '/^TASK \[velorix_reader : Aplicar a configuração aos leitores\]/,/^TASK/p' <<<"$1" |
        grep -E '^(ok|changed|fatal|skipping):'
}
recap() { grep -E '^localhost +: ' <<<"$1"; }
configuration() { sed -n 's/^configuration=//p' "$work/bin/velorix-reader$1.state"; }

# What both readers must hold: the tool's own set on a copy of the file, as 27 bytes in hex.
cp "$work/agencia.cfg" "$work/esperado.cfg"
"$cli" set "$work/esperado.cfg" "keyboardSpeed=70 toques por segundo" "sendCrAfterData=não" >/dev/null 2>&1
wanted=$(tail -c 27 "$work/esperado.cfg" | od -An -v -tx1 | tr -d ' \n' | tr a-f A-F)

# A dry run on fresh readers (what an admin's change control asks first): all of the playbook
# runs, the readers would change, and keep their factory configuration.
"$cli" --all info >/dev/null 2>&1 # the simulated readers save their state
factory=$(configuration "")
fresh=$(run --check --diff -e "$settings") || fail "check on fresh readers: $fresh"
[ "$(apply_status "$fresh")" = "changed: [localhost]" ] || fail "check on fresh readers: $fresh"
for reader in "" -2; do
    [ "$(configuration "$reader")" = "$factory" ] || fail "the dry run wrote reader$reader"
done

first=$(run --diff -e "$settings") || fail "first run: $first"
[ "$(apply_status "$first")" = "changed: [localhost]" ] || fail "the first run did not write: $first"
for reader in 000001 000002; do
    grep -A8 -F -- "--- before: leitor $reader" <<<"$first" | tr '\n' '|' | grep -qF \
        "|-Comunicação Teclado / Velocidade: 140 toques por segundo|-Comunicação Teclado / Enviar CR após os dados: sim|+Configuração / Cliente: USERCONF|+Comunicação Teclado / Velocidade: 70 toques por segundo|+Comunicação Teclado / Enviar CR após os dados: não|" ||
        fail "the diff does not name reader $reader's fields: $first"
done
for reader in "" -2; do
    [ "$(configuration "$reader")" = "$wanted" ] || fail "reader$reader holds $(configuration "$reader")"
done

second=$(run --diff -e "$settings") || fail "second run: $second"
recap "$second" | grep -qE 'ok=[0-9]+ +changed=0 +unreachable=0 +failed=0' ||
    fail "the second run changed something: $second"
[ "$(apply_status "$second")" = "ok: [localhost]" ] || fail "the second run wrote again: $second"
{ grep -qx '"localhost","1-1","000001","VELORIX II 1.05","USERCONF"' "$work/inventario.csv" &&
    grep -qx '"localhost","1-2","000002","VELORIX II 1.05","USERCONF"' "$work/inventario.csv"; } ||
    fail "inventory: $(cat "$work/inventario.csv")"

equal=$(run --check --diff -e "$settings") || fail "check on equal readers: $equal"
[ "$(apply_status "$equal")" = "ok: [localhost]" ] || fail "check on equal readers: $equal"

# Someone changes the second reader at the post; a dry run reports it and leaves it as it is.
"$cli" --device 1-2 set reader "keyboardSpeed=18 toques por segundo" >/dev/null 2>&1
changed_behind=$(configuration -2)
dry=$(run --check --diff -e "$settings") || fail "check on a differing reader: $dry"
[ "$(apply_status "$dry")" = "changed: [localhost]" ] || fail "the check missed the reader: $dry"
grep -qF -- "--- before: leitor 000001" <<<"$dry" && fail "the check lists the equal reader: $dry"
grep -A5 -F -- "--- before: leitor 000002" <<<"$dry" | tr '\n' '|' | grep -qF \
    "|-Comunicação Teclado / Velocidade: 18 toques por segundo|+Comunicação Teclado / Velocidade: 70 toques por segundo|" ||
    fail "the check's diff: $dry"
[ "$(configuration -2)" = "$changed_behind" ] || fail "the check wrote: $(configuration -2)"
[ "$(configuration "")" = "$wanted" ] || fail "the check touched the first reader"

if bad=$(run -e '{"velorix_settings": {"Velocidad": "70 toques por segundo"}}'); then
    fail "a bad setting name passed: $bad"
fi
grep -qF 'campo desconhecido: \"Velocidad\"' <<<"$bad" || fail "the tool's message is missing: $bad"
[ "$(configuration -2)" = "$changed_behind" ] || fail "a refused setting wrote"
