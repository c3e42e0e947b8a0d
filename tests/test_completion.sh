#!/usr/bin/env bash
# velorix-cli's bash completion, driven through bash as at a TAB: it is
# registered for the program (complete -p), completes the commands and, for
# each command, exactly the options the program accepts with it (asked of
# the program itself, so the two cannot drift apart), option values, file
# names, and --device from the readers that "list" finds.
# tests/test_completion.sh CLI COMPLETION SIM_HID_LIBRARY
set -euo pipefail
cli=$(realpath "$1") completion=$(realpath "$2") sim_library=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VELORIX_SYSFS_ROOT=$work/no-sysfs
failures=0

fail()
{
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The function "complete -p" names for velorix-cli, once the file is sourced.
registered=$(bash --norc --noprofile -c 'source "$1" && complete -p velorix-cli' sh "$completion")
function=$(sed -n 's/^complete -F \([^ ]*\) velorix-cli$/\1/p' <<<"$registered")
[ -n "$function" ] || fail "complete -p velorix-cli: '$registered'"

# What bash offers for the words given, the last being the one under the
# cursor, one per line, sorted; run in folder $work/files.
offered()
{
    (cd "$work/files" && bash --norc --noprofile -c '
        source "$1"; function=$2; shift 2
        COMP_WORDS=("$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMPREPLY=()
        "$function"
        printf "%s\n" "${COMPREPLY[@]}"' sh "$completion" "$function" "$@") | sed '/^$/d' | sort
}

expect()
{
    local want=$1
    shift
    local got
    got=$(offered "$@" | tr '\n' ' ')
    [ "$got" = "$want" ] || fail "$* -> '$got', expected '$want'"
}

mkdir -p "$work/files"
touch "$work/files/posto.cfg" "$work/files/posto.txt"

# The commands, as --help lists them.
help=$("$cli" --help)
commands=$(sed -n '/^Comandos:/,/^$/s/^  \([a-z][a-z]*\).*/\1/p' <<<"$help" | sort | tr '\n' ' ')
[ "$(wc -w <<<"$commands")" -ge 12 ] || fail "commands in --help: $commands"
expect "$commands" velorix-cli ""
expect "read " velorix-cli -v re
expect "convert " velorix-cli --port COM65 con

# Each command's options: those the program does not refuse for it (it
# names all it refuses). --help and --version end the parse, and -q goes
# with every command as -v does (the two do not combine): they are left out
# of the run.
mapfile -t options < <(sed -n '/^Opções:/,/^$/s/^  \(-.*\)/\1/p' <<<"$help")
declare -A arguments=([write]=x [apply]=x [diff]="a b" [set]="x a=1" [convert]=x)
declare -A values=([--port]=/dev/velorix-none [--device]=000009 [--baud]=9600 [--output]=out
    [--parity]=n [--data-bits]=8 [--stop-bits]=1)
declare -A short
run=()
longs=()
for line in "${options[@]}"; do
    read -ra forms <<<"${line//,/}" # -p --port PORTA
    [ "${forms[0]#--}" != "${forms[0]}" ] || short[${forms[1]}]=${forms[0]}
    long=${forms[0]}
    [ "${forms[0]#--}" != "${forms[0]}" ] || long=${forms[1]}
    case $long in --help | --version | --quiet) continue ;; esac
    longs+=("$long")
    run+=("$long")
    [ -z "${values[$long]-}" ] || run+=("${values[$long]}")
done
for command in $commands; do
    # shellcheck disable=SC2086 # the arguments are words
    refused=" $(cd "$work" || exit
        timeout 10 "$cli" "$command" ${arguments[$command]-} "${run[@]}" </dev/null 2>&1 |
            sed -n 's/^.*a\(s\)\{0,1\} opç\(ão\|ões\) \(--.*\) não serve\(m\)\{0,1\} ao comando.*$/\3/p' |
            tr -d , || true) "
    accepted=(--help -h --version --quiet -q)
    for long in "${longs[@]}"; do
        [ "${refused/ $long /}" != "$refused" ] || accepted+=("$long" ${short[$long]:+"${short[$long]}"})
    done
    want=$(printf '%s\n' "${accepted[@]}" | sort | tr '\n' ' ')
    expect "$want" velorix-cli "$command" -
done

# Values of the options, and file names where a file goes.
expect "e n o " velorix-cli watch --parity ""
expect "9600 " velorix-cli --baud 9
expect "1 2 " velorix-cli watch --stop-bits ""
expect "- posto.cfg posto.txt " velorix-cli read -o ""
expect "- posto.cfg posto.txt reader " velorix-cli diff posto.cfg ""
expect "posto.cfg " velorix-cli apply posto.c
expect "" velorix-cli list ""

# --device: the readers a simulated library serves, by path, USB port and serial.
mkdir "$work/bin"
cp "$cli" "$work/bin/velorix-cli"
cp "$sim_library" "$work/bin/libhid_usb.so"
touch "$work/bin/velorix-reader.state" "$work/bin/velorix-reader-2.state"
expect "/sim/hidraw0 /sim/hidraw1 000001 000002 1-1 1-2 " "$work/bin/velorix-cli" --device ""
expect "000001 000002 " "$work/bin/velorix-cli" info -d 0

[ "$failures" -eq 0 ] || exit 1
echo "completion: all cases passed"
