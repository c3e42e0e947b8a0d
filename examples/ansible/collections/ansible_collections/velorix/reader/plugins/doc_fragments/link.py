# MIT License (see the repository's LICENSE)
# The options that pick the readers and the program, shared by the collection's modules.

from __future__ import absolute_import, division, print_function

__metaclass__ = type


class ModuleDocFragment(object):
    DOCUMENTATION = r"""
options:
  device:
    description:
      - One reader, as C(velorix-cli list) shows it; a hidraw path, a USB port (C(1-1.2)), a tty
        path or C(COMn), or the six-digit serial number.
      - Without C(device) and C(port), every reader connected to the host.
    type: str
  port:
    description:
      - The serial port of a reader in C(Serial) mode, C(COMn) (C(COM65) is C(/dev/ttyACM0)) or a
        tty path. Excludes C(device).
    type: str
  baud:
    description:
      - With C(port), the speed at which the detection of the reader starts (the tool's default
        is 2400).
    type: int
  cli:
    description:
      - The C(velorix-cli) program on the host.
    type: str
    default: velorix-cli
requirements:
  - velorix-cli on the host (package velorix-config).
"""
