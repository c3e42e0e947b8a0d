#!/usr/bin/python
# MIT License (see the repository's LICENSE)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: config
short_description: Brings the configuration of Velorix II readers to the one wanted
description:
  - Reads each reader through C(velorix-cli) and writes only where its configuration differs from
    the one wanted, then reads it back to confirm the write.
  - The configuration wanted is a file (C(.cfg) saved by the window, a text profile as
    C(velorix-cli show) prints it, or its JSON), and/or settings by name, performed in the given
    order as the operator's actions on the form, so that dependent options follow as in the window.
  - A profile of some fields only, or settings without a file, change those fields and keep the
    rest of each reader's configuration.
  - In check mode the readers are read and nothing is written. With C(--diff) the changed fields
    are shown before and after, in the form's words.
  - The login running the module needs access to the readers' devices, as root (C(become)) or as a
    member of the system group C(velorix) that the package's udev rules give them to.
version_added: "1.0.0"
author:
  - Velorix II configurator developers
options:
  src:
    description:
      - The configuration file, on the control machine, or on the host with C(remote_src=true).
      - A C(.cfg) of 28 bytes, a text profile or its JSON; the tool recognises a profile by its
        content.
    type: path
  remote_src:
    description:
      - C(true) when C(src) is already on the host; otherwise it is copied to a temporary folder
        there for the run and removed afterwards, in check mode too.
    type: bool
    default: false
  settings:
    description:
      - Settings by name, performed in order after C(src) (on top of it) or, without C(src), on
        top of each reader's configuration.
      - The name is a field's key (C(baudCode)) or "Grupo/Rótulo" as the form shows it
        (C(Boleto Bancário/1º separador)); the value the form's word (C(9600), C(Ímpar), C(TAB)),
        or the raw number. C(true) and C(false) stand for C(sim) and C(não).
      - As in the window, changing a field names the configuration C(USERCONF) unless
        C(profileName) is given too.
    type: dict
notes:
  - Supports C(check_mode) and C(diff_mode).
  - Reports changed only for a reader that was written and read back.
extends_documentation_fragment:
  - velorix.reader.link
"""

EXAMPLES = r"""
- name: Two settings by name on every reader of the post
  velorix.reader.config:
    settings:
      keyboardSpeed: 70 toques por segundo
      sendCrAfterData: false

- name: The branch's configuration, then a serial speed on top, on one reader
  velorix.reader.config:
    src: agencia.cfg
    settings:
      cdcInterface: Serial
      baudCode: 9600
    device: "000123"

- name: A text profile already on the host, to a reader in Serial mode
  velorix.reader.config:
    src: /etc/velorix/posto.txt
    remote_src: true
    port: COM65
"""

RETURN = r"""
readers:
  description: One entry per reader looked at.
  returned: always
  type: list
  elements: dict
  contains:
    serial:
      description: The reader's serial number.
      type: str
      sample: "000123"
    path:
      description: The device it was reached through.
      type: str
      sample: /dev/hidraw2
    usb_port:
      description: The USB port, when the reader was found among all the host's.
      type: str
      sample: "1-1.2"
    changed:
      description: Whether it was written (or, in check mode, would be).
      type: bool
    differences:
      description: The fields that differed, before and after, in the form's words.
      type: list
      elements: dict
      sample:
        - key: keyboardSpeed
          group: Comunicação Teclado
          label: Velocidade
          before: 140 toques por segundo
          after: 70 toques por segundo
"""

import os
import shutil
import tempfile

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.velorix.reader.plugins.module_utils.velorix_cli import (
    LINK_ARGUMENT_SPEC,
    describe,
    fail_on_errors,
    field_line,
    link_options,
    reader_of,
    run_cli,
    with_reader_entries,
)


def setting_words(settings):
    """NAME=VALUE arguments for velorix-cli set, in the order given."""
    words = []
    for name, value in (settings or {}).items():
        if isinstance(value, bool):
            value = "sim" if value else "não"
        words.append("%s=%s" % (name, value))
    return words


def wanted_file(module, workdir):
    """The file to apply: src as it is, or a copy of it with the settings performed on it."""
    src, settings = module.params["src"], module.params["settings"]
    if not src:
        return None
    if not os.path.isfile(src):
        module.fail_json(msg="%s: arquivo não encontrado no posto" % src)
    if not settings:
        return src
    copy = os.path.join(workdir, os.path.basename(src))
    shutil.copyfile(src, copy)
    _, answers = run_cli(module, ["set", copy] + setting_words(settings))
    fail_on_errors(module, answers)
    return copy


def command(wanted, settings, check):
    """apply FILE or set reader NAME=VALUE..., with --check when nothing may be written."""
    arguments = ["apply", wanted] if wanted else ["set", "reader"] + setting_words(settings)
    return arguments + (["--check"] if check else [])


def write_reader(module, wanted, answer, link, written_before):
    """Writes one differing reader and returns whether it was written and read back."""
    if link == ["--all"]:
        link = ["--device", reader_of(answer)["path"]]
    _, written = run_cli(module, command(wanted, module.params["settings"], False) + link)
    fail_on_errors(module, written, changed=written_before)
    done = written[0]
    return bool(done.get("written") and done.get("verified", True))


def reader_result(answer, changed):
    reader = reader_of(answer)
    return dict(
        serial=reader.get("serial", ""),
        path=reader.get("path", ""),
        usb_port=reader.get("usb_port", ""),
        changed=changed,
        differences=[
            dict(key=d["key"], group=d["group"], label=d["label"], before=d["a"], after=d["b"])
            for d in answer.get("differences", [])
        ],
    )


def reader_diff(answer):
    differences = answer.get("differences", [])
    return dict(
        before_header=describe(answer),
        after_header=describe(answer),
        before="".join(field_line(d, "a") for d in differences),
        after="".join(field_line(d, "b") for d in differences),
    )


def run(module, workdir):
    link = link_options(module)
    wanted = wanted_file(module, workdir)
    _, probes = run_cli(module, command(wanted, module.params["settings"], True) + link)
    probes = with_reader_entries(module, probes)
    fail_on_errors(module, probes)
    readers, diffs = [], []
    for probe in probes:
        changed = bool(probe.get("differences"))
        if changed and not module.check_mode:
            written_before = any(r["changed"] for r in readers)
            changed = write_reader(module, wanted, probe, link, written_before)
        readers.append(reader_result(probe, changed))
        if changed:
            diffs.append(reader_diff(probe))
    result = dict(changed=any(r["changed"] for r in readers), readers=readers)
    if module._diff:
        result["diff"] = diffs
    module.exit_json(**result)


def main():
    argument_spec = dict(
        src=dict(type="path"),
        remote_src=dict(type="bool", default=False),
        settings=dict(type="dict"),
    )
    argument_spec.update(LINK_ARGUMENT_SPEC)
    module = AnsibleModule(
        argument_spec=argument_spec,
        required_one_of=[["src", "settings"]],
        supports_check_mode=True,
    )
    workdir = tempfile.mkdtemp(prefix="velorix-", dir=module.tmpdir)
    try:
        run(module, workdir)
    finally:
        shutil.rmtree(workdir, ignore_errors=True)


if __name__ == "__main__":
    main()
