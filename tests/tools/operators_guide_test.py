# Runs every ```sh block of docs/operators_guide.md, in order, in one scratch
# folder with ldtool on the path, so the guide's commands cannot go stale.

import os
import re
import subprocess
import tempfile
import unittest

from tool_support import LDTOOL

GUIDE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs",
                     "operators_guide.md")


class OperatorsGuideTest(unittest.TestCase):
    def test_every_command_block_runs(self):
        with open(GUIDE, encoding="utf-8") as f:
            blocks = re.findall(r"^```sh\n(.*?)^```", f.read(), re.M | re.S)
        self.assertTrue(blocks, "no command blocks in the guide")
        path = os.path.dirname(os.path.abspath(LDTOOL)) + os.pathsep + os.environ["PATH"]
        with tempfile.TemporaryDirectory() as work:
            for block in blocks:
                r = subprocess.run(["bash", "-euo", "pipefail", "-c", block], cwd=work,
                                   env=dict(os.environ, PATH=path), capture_output=True, text=True,
                                   timeout=60)
                self.assertEqual(r.returncode, 0, block + r.stdout + r.stderr)


if __name__ == "__main__":
    unittest.main()
