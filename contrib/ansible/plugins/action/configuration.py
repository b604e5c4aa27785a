# SPDX-FileCopyrightText: 2026 The orvcfg developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Copies the configuration file from the controller to the managed host, then runs the module."""

from __future__ import annotations

from ansible.errors import AnsibleError
from ansible.module_utils.common.text.converters import to_text
from ansible.plugins.action import ActionBase


class ActionModule(ActionBase):
    TRANSFERS_FILES = True

    def run(self, tmp=None, task_vars=None):
        result = super().run(tmp, task_vars)
        del tmp
        args = dict(self._task.args)
        src = args.get("src")
        if src and not self._task.args.get("remote_src", False):
            try:
                local = self._find_needle("files", src)
            except AnsibleError as e:
                self._remove_tmp_path(self._connection._shell.tmpdir)
                result.update(failed=True, msg=to_text(e))
                return result
            remote = self._connection._shell.join_path(
                self._connection._shell.tmpdir, "orvcfg-configuration.cfg")
            self._transfer_file(local, remote)
            self._fixup_perms2((self._connection._shell.tmpdir, remote))
            args.update(src=remote, remote_src=True)
        try:
            result.update(self._execute_module(module_name="orvcfg.decoder.configuration",
                                               module_args=args, task_vars=task_vars))
        finally:
            self._remove_tmp_path(self._connection._shell.tmpdir)
        return result
