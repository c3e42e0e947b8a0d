# MIT License (see the repository's LICENSE)
# The controller's side of velorix.reader.config: copies src from the control machine to a
# temporary folder on the host (in check mode too, since nothing of the host's changes), runs the
# module on that copy and removes it.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import os

from ansible.errors import AnsibleError
from ansible.module_utils.parsing.convert_bool import boolean
from ansible.plugins.action import ActionBase
from ansible.utils.vars import merge_hash


class ActionModule(ActionBase):
    TRANSFERS_FILES = True

    def run(self, tmp=None, task_vars=None):
        result = super(ActionModule, self).run(tmp, task_vars)
        del tmp  # the connection's temporary folder is used
        module_args = self._task.args.copy()
        from_controller = not boolean(module_args.get("remote_src", False), strict=False)
        try:
            if module_args.get("src") and from_controller:
                module_args["src"] = self._send(module_args["src"])
                module_args["remote_src"] = True
            answer = self._execute_module(
                module_name=self._task.resolved_action or "velorix.reader.config",
                module_args=module_args,
                task_vars=task_vars,
            )
            return merge_hash(result, answer)
        except AnsibleError as failure:
            result.update(failed=True, msg=str(failure))
            return result
        finally:
            self._remove_tmp_path(self._connection._shell.tmpdir)

    def _send(self, src):
        """Puts the control machine's file in the host's temporary folder, under its own name."""
        local = self._find_needle("files", src)
        shell = self._connection._shell
        remote = shell.join_path(shell.tmpdir, "velorix-" + os.path.basename(local))
        self._transfer_file(local, remote)
        self._fixup_perms2((shell.tmpdir, remote), execute=False)
        return remote
