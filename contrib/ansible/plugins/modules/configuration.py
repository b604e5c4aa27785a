# SPDX-FileCopyrightText: 2026 The orvcfg developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""orvcfg.decoder.configuration: decoders brought to a configuration file with orvctl apply."""

from __future__ import annotations

DOCUMENTATION = r"""
---
module: configuration
short_description: Bring decoders on serial ports to a configuration file
description:
  - Runs C(orvctl apply) on the managed host for the decoders on the ports given. Each
    decoder's region (bar decoder or magnetic reader, whichever answers) is uploaded and
    compared with the same region of the configuration file; only a decoder that differs is
    sent the file, and its settings are then uploaded again to verify.
  - The task is C(changed) only when a decoder was changed. In check mode nothing is sent, and
    the task tells which decoders would change. In diff mode the settings that change are shown
    by their captions, before and after.
  - The task fails when a decoder or its port fails (no answer, a refusal, a port that cannot
    be opened, a failed verification), with the decoder's message; the other decoders of the
    host are still served.
  - Needs C(orvctl), from the package orvcfg, on the managed host. RS232 only.
version_added: "3.45.1"
author: The orvcfg developers
options:
  port:
    description:
      - The decoder's serial port, or a list of ports served at once, as C(orvctl) takes them
        (a device path such as C(/dev/ttyUSB0) or C(/dev/serial/by-id/...), or C(com 1) to
        C(com 6)).
    type: raw
    required: true
  src:
    description:
      - The configuration file (C(.cfg), or a C(defaults) file). It is on the controller and is
        copied to the managed host, unless O(remote_src) is true.
    type: path
    required: true
  remote_src:
    description:
      - Whether O(src) is already on the managed host.
    type: bool
    default: false
  not_save:
    description:
      - The decoder uses the settings without keeping them ("Not Save").
    type: bool
    default: false
  record:
    description:
      - A file on the managed host to which C(orvctl) appends a JSON line for every decoder, with
        the time, the host, the port, the device's USB serial number and ids, the firmware
        version, the SHA-256 of the region before and after, the settings changed and the result.
    type: path
  settings:
    description:
      - The line settings, as orvcfg's Transmit window has them (C(9600,N,8,1) when not given).
        Upload needs parity none, mark or space.
    type: str
  executable:
    description:
      - The C(orvctl) program to run.
    type: path
    default: orvctl
attributes:
  check_mode:
    support: full
  diff_mode:
    support: full
notes:
  - The Debian package orvcfg installs this collection under
    C(/usr/share/ansible/collections), where Ansible finds it.
seealso:
  - name: orvctl(1)
    description: The manual page of orvctl, section apply.
    link: https://orvcfg.example.org
"""

EXAMPLES = r"""
- name: Every till's decoder as the shop's configuration says
  orvcfg.decoder.configuration:
    port: /dev/serial/by-id/usb-Orv_Decoder_0001-if00-port0
    src: files/shop.cfg

- name: Two decoders at once, kept only until they are switched off, with a record
  orvcfg.decoder.configuration:
    port:
      - /dev/ttyUSB0
      - /dev/ttyUSB1
    src: files/shop.cfg
    not_save: true
    record: /var/log/orvcfg-decoders.jsonl

- name: A file that is on the managed host already
  orvcfg.decoder.configuration:
    port: com 1
    src: /etc/orvcfg/till.cfg
    remote_src: true
"""

RETURN = r"""
decoders:
  description: One entry for every port, in the order given.
  returned: when orvctl ran
  type: list
  elements: dict
  contains:
    port:
      description: The port as given.
      type: str
      sample: /dev/ttyUSB0
    decoder:
      description: Which decoder answered, C(bar) or C(mag); null when none did.
      type: str
      sample: bar
    version:
      description: The decoder's firmware version; null when it did not answer.
      type: str
      sample: DECODER V3.4 2024-05-17
    status:
      description: >-
        C(unchanged), C(changed), C(would-change) (check mode), C(failed), or C(interrupted).
      type: str
      sample: changed
    message:
      description: What orvctl says of the decoder.
      type: str
    changes:
      description: >-
        The settings that changed (or would change), old and new as C(orvctl get) prints them;
        after a failed verification, the settings that still differ.
      type: list
      elements: dict
      sample: [{"key": "bar.comm.baud_rate", "label": "Baud Rate", "old": "9600", "new": "19200"}]
rc:
  description: The exit status of orvctl (1 a decoder failed, 2 trouble).
  returned: on failure
  type: int
"""

import json

from ansible.module_utils.basic import AnsibleModule


def ports_of(value):
    """The ports given: one text, or a list of them."""
    if isinstance(value, (list, tuple)):
        return [str(p) for p in value]
    return [str(value)]


def diff_of(decoders):
    """The settings that change, by caption, before and after."""
    before, after = [], []
    for d in decoders:
        for c in d.get("changes", []):
            name = "%s: %s (%s)" % (d["port"], c.get("label", ""), c.get("key", ""))
            before.append("%s: %s\n" % (name, c.get("old", "")))
            after.append("%s: %s\n" % (name, c.get("new", "")))
    return {"before": "".join(before), "after": "".join(after)}


def main():
    module = AnsibleModule(
        argument_spec=dict(
            port=dict(type="raw", required=True),
            src=dict(type="path", required=True),
            remote_src=dict(type="bool", default=False),
            not_save=dict(type="bool", default=False),
            record=dict(type="path"),
            settings=dict(type="str"),
            executable=dict(type="path", default="orvctl"),
        ),
        supports_check_mode=True,
    )
    p = module.params
    ports = ports_of(p["port"])
    if not ports or any(not port for port in ports):
        module.fail_json(msg="port needs a device path or 'com N'")
    command = [p["executable"], "apply", p["src"], "--json"]
    for port in ports:
        command += ["--port", port]
    if module.check_mode:
        command.append("--check")
    if p["not_save"]:
        command.append("--not-save")
    if p["record"]:
        command += ["--record", p["record"]]
    if p["settings"]:
        command += ["--settings", p["settings"]]

    rc, out, err = module.run_command(command)
    try:
        report = json.loads(out) if out.strip() else None
    except ValueError:
        report = None
    if report is None:
        module.fail_json(msg=err.strip() or "orvctl apply gave no result", rc=rc,
                         stdout=out, stderr=err, cmd=command)

    decoders = []
    for d in report.get("ports", []):
        decoders.append({
            "port": d.get("port"),
            "decoder": d.get("decoder"),
            "version": d.get("version"),
            "status": d.get("status"),
            "message": d.get("message"),
            "changes": [{k: c.get(k) for k in ("key", "label", "old", "new")}
                        for c in d.get("changes", [])],
        })
    changing = "would-change" if module.check_mode else "changed"
    result = dict(changed=any(d["status"] == changing for d in decoders), decoders=decoders)
    if module._diff:
        result["diff"] = diff_of(decoders)
    failed = [d for d in decoders if d["status"] not in ("unchanged", "changed", "would-change")]
    if failed or rc not in (0, 3):
        messages = ["%s: %s" % (d["port"], d["message"]) for d in failed]
        module.fail_json(msg="; ".join(messages) or err.strip(), rc=rc, stderr=err, **result)
    module.exit_json(**result)


if __name__ == "__main__":
    main()
