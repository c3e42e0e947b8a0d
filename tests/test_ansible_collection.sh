#!/usr/bin/env bash
# The Ansible collection as an admin receives it: ansible-lint finds nothing in it, the role and
# the playbook; ansible-doc renders each module's documentation; ansible-galaxy builds it.
#   test_ansible_collection.sh EXAMPLE_FOLDER
set -euo pipefail
example=$(cd "$1" && pwd)
collection=$example/collections/ansible_collections/velorix/reader
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work" ANSIBLE_HOME="$work/ansible" ANSIBLE_LOCAL_TEMP="$work/ansible/tmp"
export ANSIBLE_NOCOLOR=1 NO_COLOR=1
# ansible-lint 6.13's collection loader takes the folder above this path: "/." makes it the
# right one.
export ANSIBLE_COLLECTIONS_PATH="$example/collections/."
fail() { echo "FAIL: $*" >&2; exit 1; }

# ansible-lint names each playbook's folder, relative to where it runs, as a place for
# collections. Linting the example in place would let the module check find the collection
# there under a relative path, which the loader refuses ("relative resource paths not
# supported"), whenever the walk, ordered by a set of paths, visits the playbook last. The
# playbook and the role are linted in a copy without that folder, the collection on its own.
# Python's SyntaxWarning is not a finding: it comes now and then from ansible's templar, which
# tries each rendered value as a Python literal ("<unknown>:1: SyntaxWarning: invalid decimal
# literal"), and would fail the check below for nothing in these files.
lint() {
    local folder=$1 out
    shift
    out=$(cd "$folder" && PYTHONWARNINGS=ignore::SyntaxWarning ansible-lint --offline --nocolor "$@" 2>&1) || fail "ansible-lint: $out"
    grep -q "^Passed with production profile: 0 failure(s), 0 warning(s)" <<<"$out" ||
        fail "ansible-lint: $out"
    grep -q "WARNING" <<<"$out" && fail "ansible-lint warns: $out"
    return 0
}
mkdir "$work/example"
find "$example" -mindepth 1 -maxdepth 1 ! -name collections -exec cp -r {} "$work/example/" \;
lint "$work/example" site.yml roles
lint "$collection"

# Each module with the options an admin looks for.
for case in "config:src remote_src settings device port baud cli" "info:device port baud cli"; do
    module=${case%%:*}
    # As the README says it: in the example's folder, whose ansible.cfg names the collection.
    doc=$(cd "$example" && env -u ANSIBLE_COLLECTIONS_PATH \
        ansible-doc -M "$collection/plugins/modules" "$module" 2>&1) ||
        fail "ansible-doc $module: $doc"
    for option in ${case#*:}; do
        grep -qE "^[-=] $option\b" <<<"$doc" || fail "ansible-doc $module lacks $option: $doc"
    done
    { grep -q "^> ${module^^} " <<<"$doc" && grep -q "^EXAMPLES:" <<<"$doc" && grep -q "^RETURN VALUES:" <<<"$doc"; } ||
        fail "ansible-doc $module: $doc"
done

built=$(ansible-galaxy collection build "$collection" --output-path "$work/dist" 2>&1) ||
    fail "ansible-galaxy: $built"
archive=$work/dist/velorix-reader-1.0.0.tar.gz
tar -tzf "$archive" >"$work/contents" || fail "no archive: $built"
for file in MANIFEST.json plugins/modules/config.py plugins/modules/info.py \
    plugins/action/config.py plugins/module_utils/velorix_cli.py plugins/doc_fragments/link.py; do
    grep -qx "$file" "$work/contents" || grep -qx "./$file" "$work/contents" ||
        fail "the archive lacks $file: $(cat "$work/contents")"
done
