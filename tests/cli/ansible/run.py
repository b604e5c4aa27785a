#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The orvcfg developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Ansible collection orvcfg.decoder run by ansible-playbook against decoder emulators
(orvemu) on pseudo-terminals, three shops on this machine: a play in check mode changes nothing,
the first real play changes the decoders, the second finds them as the file says, and a shop
whose decoder keeps silent fails alone. Exits 77 (skipped) where ansible-core is missing."""

import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

PLAYBOOK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "playbook.yml")


def check(condition, what, detail=""):
    if not condition:
        print("FAILED: %s\n%s" % (what, detail))
        sys.exit(1)
    print("ok: %s" % what)


def start_emulator(orvemu, folder, name, options, env):
    """An orvemu playing a decoder; the path of a link to its device."""
    link = os.path.join(folder, name)
    with open(link + ".log", "w") as log:
        process = subprocess.Popen([orvemu, "--link", link] + options, stdout=log,
                                   stderr=subprocess.STDOUT, env=env)
    for _ in range(600):  # up to a minute on a busy machine
        if os.path.islink(link):
            return process, link
        time.sleep(0.1)
    process.kill()
    sys.exit("FAILED: orvemu made no device for %s" % name)


def play(folder, env, *options):
    """Runs the play; host -> the result of its task (the tree callback's files), and what the
    play printed."""
    tree = tempfile.mkdtemp(dir=folder)
    env = dict(env, ANSIBLE_CALLBACKS_ENABLED="ansible.builtin.tree",
               ANSIBLE_CALLBACK_TREE_DIR=tree)
    out = subprocess.run(["ansible-playbook", "-i", os.path.join(folder, "inventory.json"),
                          PLAYBOOK] + list(options), env=env, capture_output=True, text=True)
    shops = {}
    for host in ("shop1", "shop2", "shop3"):
        try:
            with open(os.path.join(tree, host)) as f:
                shops[host] = json.load(f)
        except (OSError, ValueError):
            sys.exit("FAILED: no result of %s (exit %d)\n%s\n%s"
                     % (host, out.returncode, out.stdout, out.stderr))
    # The play's recap: host -> {"ok": n, "changed": n, "failed": n, ...}.
    for host, counts in re.findall(r"^(shop\d)\s+:\s+(.*)$", out.stdout, re.M):
        shops[host]["recap"] = {k: int(v) for k, v in re.findall(r"(\w+)=(\d+)", counts)}
    return shops, out.stdout


def statuses(result):
    return sorted(d["status"] for d in result.get("decoders", []))


def main():
    parser = argparse.ArgumentParser()
    for name in ("orvctl", "orvemu", "collections", "config"):
        parser.add_argument("--" + name, required=True)
    args = parser.parse_args()
    if not shutil.which("ansible-playbook") or not shutil.which("ansible-doc"):
        print("SKIPPED: ansible-playbook is not installed (Debian package ansible-core)")
        return 77

    with tempfile.TemporaryDirectory() as folder:
        env = dict(os.environ, XDG_CONFIG_HOME=folder, HOME=folder, ANSIBLE_HOME=folder,
                   ANSIBLE_COLLECTIONS_PATH=args.collections,
                   ANSIBLE_COLLECTIONS_SCAN_SYS_PATH="false", ANSIBLE_LOCAL_TEMP=os.path.join(folder, "tmp"), ANSIBLE_NOCOLOR="1",
                   ANSIBLE_RETRY_FILES_ENABLED="false", ANSIBLE_PYTHON_INTERPRETER=sys.executable)
        emulators = []
        try:
            decoders = {}
            for name, options in (("shop1-bar", ["--bar"]), ("shop1-mag", ["--mag"]),
                                  ("shop2-mag", ["--mag"]),
                                  ("shop3-silent", ["--bar", "--fault", "silent"])):
                process, decoders[name] = start_emulator(args.orvemu, folder, name, options, env)
                emulators.append(process)
            record = os.path.join(folder, "decoders.jsonl")
            shop = lambda *ports: {"decoder_ports": [decoders[p] for p in ports]}
            inventory = {"shops": {
                "hosts": {"shop1": shop("shop1-bar", "shop1-mag"), "shop2": shop("shop2-mag"),
                          # Its time-out passes in a tenth of the time.
                          "shop3": dict(shop("shop3-silent"),
                                        orvctl_env={"ORVCTL_TIMING_SCALE": "0.1"})},
                "vars": {"ansible_connection": "local", "config": args.config,
                         "orvctl": args.orvctl, "record": record}}}
            with open(os.path.join(folder, "inventory.json"), "w") as f:
                json.dump(inventory, f)

            doc = subprocess.run(["ansible-doc", "orvcfg.decoder.configuration"], env=env,
                                 capture_output=True, text=True)
            check(doc.returncode == 0 and "remote_src" in doc.stdout, "ansible-doc reads the module",
                  doc.stdout + doc.stderr)

            shops, shown = play(folder, env, "--check", "--diff")
            dump = json.dumps(shops, indent=1)
            check(shops["shop1"]["recap"]["changed"] == 1 and shops["shop2"]["recap"]["changed"] == 1,
                  "check mode: the decoders would change", shown)
            check(statuses(shops["shop1"]) == ["would-change", "would-change"],
                  "check mode: each decoder would change", dump)
            check("Prefix: Track 2 (mag.misc.track2.prefix): {STX}" in shown,
                  "diff mode: the settings by caption", shown)
            check([shops[h]["recap"]["failed"] for h in ("shop1", "shop2", "shop3")] == [0, 0, 1],
                  "the silent decoder fails its shop alone", shown)

            shops, shown = play(folder, env)
            dump = json.dumps(shops, indent=1)
            check(shops["shop1"]["recap"]["changed"] == 1 and shops["shop2"]["recap"]["changed"] == 1,
                  "first run: changed (so check mode had changed nothing)", shown)
            check(statuses(shops["shop1"]) == ["changed", "changed"],
                  "first run: both decoders of shop1 changed", dump)
            check(shops["shop3"]["recap"]["failed"] == 1
                  and "Time Out Error!" in shops["shop3"]["msg"],
                  "first run: shop3 fails with the decoder's message", dump)

            shops, shown = play(folder, env)
            check(shops["shop1"]["recap"]["changed"] == 0 and shops["shop2"]["recap"]["changed"] == 0
                  and shops["shop1"]["recap"]["ok"] == 1
                  and statuses(shops["shop2"]) == ["unchanged"],
                  "second run: unchanged", shown)

            with open(record) as f:
                lines = [json.loads(line) for line in f]
            # Check mode and two runs, four decoders each.
            check(len(lines) == 12 and {l["result"] for l in lines}
                  == {"would-change", "changed", "unchanged", "failed"},
                  "the record: a line for every decoder and run", json.dumps(lines, indent=1))
        finally:
            for process in emulators:
                process.terminate()
                process.wait()
    print("PASSED")
    return 0


if __name__ == "__main__":
    sys.exit(main())
