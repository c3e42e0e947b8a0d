# Runs velorix-cli with --json for the collection's modules and reads its answer.
# MIT License (see the repository's LICENSE)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json

# The options that pick the readers; shared by every module's argument_spec.
LINK_ARGUMENT_SPEC = dict(
    cli=dict(type="str", default="velorix-cli"),
    device=dict(type="str"),
    port=dict(type="str"),
    baud=dict(type="int"),
)


def link_options(module):
    """velorix-cli's options for the reader(s) asked for: one port, one device, or all.

    device and port exclude each other; checked here rather than with mutually_exclusive so that
    a role can pass both as "{{ var or omit }}" and leave one out.
    """
    params = module.params
    if params.get("port") and params.get("device"):
        module.fail_json(msg="parameters are mutually exclusive: device|port")
    if params.get("port"):
        options = ["--port", params["port"]]
        if params.get("baud"):
            options += ["--baud", str(params["baud"])]
        return options
    if params.get("device"):
        return ["--device", params["device"]]
    return ["--all"]


def run_cli(module, arguments):
    """Runs the tool and returns (exit code, one answer object per reader)."""
    argv = [module.params["cli"]] + arguments + ["--json"]
    rc, out, err = module.run_command(argv)
    try:
        answer = json.loads(out)
    except ValueError:
        module.fail_json(
            msg="velorix-cli gave no JSON answer: %s" % (err.strip() or out.strip()),
            cmd=argv, rc=rc, stdout=out, stderr=err,
        )
    return rc, answer if isinstance(answer, list) else [answer]


def with_reader_entries(module, answers):
    """Gives each answer that lacks it its reader's entry of velorix-cli list (serial number, USB
    port, mode): one reader picked by --device or --port is answered for by its path only."""
    if all(a.get("reader") for a in answers):
        return answers
    _, listed = run_cli(module, ["list"])
    by_path = dict((r.get("path"), r) for r in listed[0].get("readers") or [])
    for answer in answers:
        if not answer.get("reader") and answer.get("path") in by_path:
            answer["reader"] = by_path[answer["path"]]
    return answers


def fail_on_errors(module, answers, changed=False):
    """Fails the task with the tool's own message, once for all the readers that gave it.

    changed: whether readers were written before this failure, for the task's result.
    """
    errors = [a for a in answers if not a.get("ok")]
    if not errors:
        return
    readers_by_message = {}
    for answer in errors:
        readers_by_message.setdefault(answer.get("error", "falha"), []).append(describe(answer))
    module.fail_json(
        msg="; ".join(
            ": ".join(filter(None, [", ".join(filter(None, readers)), message]))
            for message, readers in readers_by_message.items()
        ),
        readers=[reader_of(a) for a in errors],
        changed=changed,
    )


def reader_of(answer):
    """The reader an answer speaks of: its list entry, or what the answer itself says."""
    reader = dict(answer.get("reader") or {})
    for key in ("link", "path", "serial", "firmware"):
        if answer.get(key) and not reader.get(key):
            reader[key] = answer[key]
    return reader


def describe(answer):
    """A reader's name for messages and diff headers: serial number and path."""
    reader = reader_of(answer)
    serial = reader.get("serial")
    path = reader.get("path") or reader.get("usb_port") or ""
    if serial and path:
        return "leitor %s (%s)" % (serial, path)
    return "leitor %s" % (serial or path) if serial or path else ""


def field_line(difference, side):
    """One field in the words of velorix-cli diff: "Grupo / Rótulo: valor"."""
    return "%s / %s: %s\n" % (difference["group"], difference["label"], difference[side])
