"""What every ldtool test needs: the program under test and a way to run it."""

import os
import subprocess
import tempfile

LDTOOL = os.environ.get("LDTOOL", "ldtool")


def run(*args, text=False, tz=None, timeout=60):
    """Runs ldtool with args; output as bytes unless text; TZ set when tz is given."""
    env = dict(os.environ, TZ=tz) if tz else None
    return subprocess.run([LDTOOL, *args], capture_output=True, text=text, timeout=timeout,
                          env=env)


def temp_dir(test):
    """A temporary folder removed when the test ends, whatever its outcome."""
    tmp = tempfile.TemporaryDirectory()
    test.addCleanup(tmp.cleanup)
    return tmp
