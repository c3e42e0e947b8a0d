#!/usr/bin/python
# MIT License (see the repository's LICENSE)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: info
short_description: Facts of the Velorix II readers connected to a host
description:
  - Asks every reader of the host (or the one given) through C(velorix-cli info) for its serial
    number, firmware version and configuration, for inventories.
  - Sets the fact C(velorix_readers). Writes nothing, so it runs in check mode as well.
version_added: "1.0.0"
author:
  - Velorix II configurator developers
notes:
  - Supports C(check_mode).
extends_documentation_fragment:
  - velorix.reader.link
"""

EXAMPLES = r"""
- name: What readers the post has
  velorix.reader.info:

- name: The serial numbers, for the log
  ansible.builtin.debug:
    msg: "{{ velorix_readers | map(attribute='serial') | list }}"
"""

RETURN = r"""
ansible_facts:
  description: The facts gathered.
  returned: always
  type: dict
  contains:
    velorix_readers:
      description: One entry per reader.
      type: list
      elements: dict
      contains:
        serial:
          description: The serial number.
          type: str
          sample: "000123"
        firmware:
          description: The firmware version.
          type: str
          sample: VELORIX II 1.05
        profile:
          description: The name of the configuration (the form's "Cliente").
          type: str
          sample: USERCONF
        link:
          description: C(hid) or C(serial).
          type: str
        path:
          description: The device it answered on.
          type: str
          sample: /dev/hidraw2
        usb_port:
          description: Its USB port, when the host's readers were listed.
          type: str
          sample: "1-1.2"
        mode:
          description: C(Teclado) (HID) or C(Serial) (CDC).
          type: str
        settings:
          description: Every field of its configuration by key, in the form's words.
          type: dict
          sample:
            keyboardSpeed: 140 toques por segundo
            baudCode: "2400"
"""

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.velorix.reader.plugins.module_utils.velorix_cli import (
    LINK_ARGUMENT_SPEC,
    fail_on_errors,
    link_options,
    reader_of,
    run_cli,
    with_reader_entries,
)


def facts_of(answer):
    reader = reader_of(answer)
    config = answer.get("config") or {}
    return dict(
        serial=answer.get("serial", ""),
        firmware=answer.get("firmware", ""),
        profile=config.get("profile", ""),
        link=reader.get("link", ""),
        path=reader.get("path", ""),
        usb_port=reader.get("usb_port", ""),
        mode=reader.get("mode", ""),
        settings=dict((f["key"], f["value"]) for f in config.get("fields", [])),
    )


def main():
    module = AnsibleModule(
        argument_spec=dict(LINK_ARGUMENT_SPEC),
        supports_check_mode=True,
    )
    _, answers = run_cli(module, ["info"] + link_options(module))
    answers = with_reader_entries(module, answers)
    fail_on_errors(module, answers)
    readers = [facts_of(a) for a in answers]
    module.exit_json(changed=False, ansible_facts=dict(velorix_readers=readers))


if __name__ == "__main__":
    main()
