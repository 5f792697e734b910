# What every ldtool test needs: the program under test, a way to run it, and
# one `ldtool serve` process on loopback.

import http.client
import json
import os
import signal
import subprocess
import tempfile

LDTOOL = os.environ.get("LDTOOL", "ldtool")


def run(*args, text=True, tz=None, check=False):
    # TZ only when given: the default keeps the machine's zone.
    env = dict(os.environ, TZ=tz) if tz else None
    r = subprocess.run([LDTOOL, *args], capture_output=True, text=text, timeout=60, env=env)
    if check and r.returncode != 0:
        raise AssertionError("ldtool %s -> %d\n%s%s" % (args, r.returncode, r.stdout, r.stderr))
    return r


def temp_dir(test):
    tmp = tempfile.TemporaryDirectory()
    test.addCleanup(tmp.cleanup)
    return tmp.name


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb" if isinstance(data, bytes) else "w") as f:
        f.write(data)


class Server:
    # Always stopped by the caller; --exit-after bounds it should a test die.
    def __init__(self, root, *extra, exit_after=60):
        self.log_path = os.path.join(root, "..", "requests.jsonl")
        self.proc = subprocess.Popen(
            [LDTOOL, "serve", "--root", root, "--port", "0", "--log", self.log_path,
             "--exit-after", str(exit_after), *extra],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        line = self.proc.stdout.readline()
        self.https_port = None
        if line.startswith("https listening on 127.0.0.1:"):
            self.https_port = int(line.rsplit(":", 1)[1])
            line = self.proc.stdout.readline()
        if not line.startswith("listening on 127.0.0.1:"):
            self.stop()
            raise AssertionError("no listening line: %r" % line)
        self.port = int(line.rsplit(":", 1)[1])

    def request(self, method, path, body=None, headers=None):
        # (status, body, response, "cut" when the body ended early)
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
        try:
            conn.request(method, path, body=body, headers=headers or {})
            resp = conn.getresponse()
            try:
                return resp.status, resp.read(), resp, None
            except http.client.IncompleteRead as e:
                return resp.status, e.partial, resp, "cut"
        finally:
            conn.close()

    def log_lines(self):
        with open(self.log_path, encoding="utf-8") as f:
            return [json.loads(line) for line in f if line.strip()]

    def stop(self):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(timeout=10)
        self.proc.stdout.close()
        self.proc.stderr.close()
