#!/usr/bin/env python3
# Runs every ```sh block of docs/operators_guide.md, in order, in one scratch
# folder with ldtool on the path; fails on the first block that fails.
#   operators_guide_test.py [LDTOOL]    (default: $LDTOOL)
import os
import re
import subprocess
import sys
import tempfile

GUIDE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs",
                     "operators_guide.md")


def main(argv):
    ldtool = os.path.abspath(argv[1] if len(argv) > 1 else os.environ["LDTOOL"])
    blocks = re.findall(r"^```sh\n(.*?)^```", open(GUIDE, encoding="utf-8").read(), re.M | re.S)
    if not blocks:
        print("no command blocks in the guide")
        return 1
    env = dict(os.environ, PATH=os.path.dirname(ldtool) + os.pathsep + os.environ["PATH"])
    with tempfile.TemporaryDirectory() as work:
        for number, block in enumerate(blocks, 1):
            r = subprocess.run(["bash", "-euo", "pipefail", "-c", block], cwd=work, env=env,
                               capture_output=True, text=True, timeout=60)
            if r.returncode != 0:
                print("block %d failed (%d):\n%s\n%s%s" % (number, r.returncode, block, r.stdout,
                                                          r.stderr))
                return 1
    print("%d command blocks ran" % len(blocks))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
