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
# right one. It also finds the collection through the playbook's folder as a relative path, which
# fails its module check ("relative resource paths not supported") when that comes first in its
# hash-ordered walk: a fixed seed keeps the order that does not.
export ANSIBLE_COLLECTIONS_PATH="$example/collections/." PYTHONHASHSEED=0
fail() { echo "FAIL: $*" >&2; exit 1; }

lint=$(cd "$example" && ansible-lint --offline --nocolor site.yml roles \
    collections/ansible_collections/velorix/reader 2>&1) || fail "ansible-lint: $lint"
grep -q "^Passed with production profile: 0 failure(s), 0 warning(s)" <<<"$lint" ||
    fail "ansible-lint: $lint"
grep -q "WARNING" <<<"$lint" && fail "ansible-lint warns: $lint"

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
