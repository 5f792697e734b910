"""ldtool serve: the loopback download server, its fault switches and the
request log the starter's tests read."""

import base64
import http.client
import json
import os
import signal
import subprocess
import time
import unittest

from tool_support import LDTOOL, temp_dir


class Server:
    """One `ldtool serve` process on a free loopback port; always stopped."""

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
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
        try:
            conn.request(method, path, body=body, headers=headers or {})
            resp = conn.getresponse()
            try:
                data = resp.read()
            except http.client.IncompleteRead as e:
                return resp.status, e.partial, resp, "cut"
            return resp.status, data, resp, None
        finally:
            conn.close()

    def log_lines(self):
        if not os.path.exists(self.log_path):
            return []
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


class ServeTest(unittest.TestCase):
    def setUp(self):
        self.tmp = temp_dir(self)
        self.root = os.path.join(self.tmp.name, "root")
        os.makedirs(os.path.join(self.root, "dist", "pkg", "data"))
        self.big = os.urandom(2500000)  # large enough to be streamed, not held in memory
        self.files = {
            "dist/pkg/a.zip": self.big,
            "dist/pkg/empty.zip": b"",
            "dist/pkg/data/b c.zip": b"spaced name",
        }
        for rel, data in self.files.items():
            with open(os.path.join(self.root, rel), "wb") as f:
                f.write(data)

    def start(self, *extra, **kw):
        s = Server(self.root, *extra, **kw)
        self.addCleanup(s.stop)
        return s

    def test_files_and_not_found(self):
        s = self.start()
        cases = [
            ("GET", "/dist/pkg/a.zip", 200, self.big),
            ("GET", "/dist/pkg/empty.zip", 200, b""),
            ("GET", "/dist/pkg/data/b%20c.zip", 200, b"spaced name"),
            ("GET", "/dist/pkg/missing.zip", 404, None),
            ("GET", "/dist/pkg", 404, None),             # directories are not listed
            ("GET", "/dist/../../etc/passwd", 404, None),
            ("GET", "/dist/%2e%2e/%2e%2e/etc/passwd", 404, None),
            ("GET", "/dist/pkg/..%2fpkg/a.zip", 404, None),
            ("POST", "/dist/pkg/a.zip", 404, None),
            ("PUT", "/dist/pkg/a.zip", 405, None),
        ]
        for method, path, status, body in cases:
            with self.subTest(method=method, path=path):
                got, data, _, cut = s.request(method, path, body=b"" if method != "GET" else None)
                self.assertEqual(got, status)
                self.assertIsNone(cut)
                if body is not None:
                    self.assertEqual(data, body)
        status, data, resp, _ = s.request("HEAD", "/dist/pkg/a.zip")
        self.assertEqual((status, data), (200, b""))
        self.assertEqual(resp.getheader("Content-Length"), str(len(self.big)))

    def test_idle_kept_connections_do_not_hold_up_new_ones(self):
        # A Windows client keeps every finished connection open for reuse; a
        # test program holds a dozen and more. New requests must not queue
        # behind them until their keep-alive time runs out.
        s = self.start()
        idle = []
        try:
            # The keep-alive time is 5 s; 3 s is far more than an answer needs.
            for _ in range(16):
                conn = http.client.HTTPConnection("127.0.0.1", s.port, timeout=3)
                idle.append(conn)
                conn.request("GET", "/dist/pkg/data/b%20c.zip")
                self.assertEqual(conn.getresponse().read(), b"spaced name")
        finally:
            for conn in idle:
                conn.close()

    def test_fault_switches(self):
        s = self.start("--fault", "status:503#2:/dist/pkg/a.zip",
                       "--fault", "cut:1000:/dist/pkg/data/*",
                       "--fault", "status:500:/tracebook/v1/log",
                       "--fault", "delay:300:/log.html")
        statuses = [s.request("GET", "/dist/pkg/a.zip")[0] for _ in range(3)]
        self.assertEqual(statuses, [503, 503, 200])
        status, data, resp, cut = s.request("GET", "/dist/pkg/data/b%20c.zip")
        self.assertEqual((status, data, cut), (200, b"spaced name", None))  # shorter than the cut
        with open(os.path.join(self.root, "dist/pkg/data/big.zip"), "wb") as f:
            f.write(self.big)
        status, data, resp, cut = s.request("GET", "/dist/pkg/data/big.zip")
        self.assertEqual((status, cut, len(data)), (200, "cut", 1000))
        self.assertEqual(resp.getheader("Content-Length"), str(len(self.big)))
        self.assertEqual(data, self.big[:1000])
        self.assertEqual(s.request("POST", "/tracebook/v1/log", body=b"{}")[0], 500)
        start = time.monotonic()
        self.assertEqual(s.request("GET", "/log.html?step=200")[0], 200)
        self.assertGreaterEqual(time.monotonic() - start, 0.3)
        faults = [(l["path"], l["status"], l["faults"]) for l in s.log_lines()]
        self.assertEqual(faults[0], ("/dist/pkg/a.zip", 503, "status=503"))
        self.assertEqual(faults[2], ("/dist/pkg/a.zip", 200, ""))
        self.assertIn(("/dist/pkg/data/big.zip", 200, "cut=1000"), faults)
        self.assertEqual(faults[-1], ("/log.html", 200, "delay=300"))

    def test_collection_endpoints_are_logged(self):
        s = self.start()
        body = '{"body":"x","gameId":"TABLA"}'.encode() + b"\xb7\xe7"  # code page 949 bytes
        headers = {"Content-type": "application/json", "Accept": "text/*",
                   "User-Agent": "Mozilla/4.0 (compatible; MSIE 6.0;* Windows NT)"}
        status, _, _, _ = s.request("POST", "/tracebook/v1/log", body=body, headers=headers)
        self.assertEqual(status, 200)
        step = "/log.html?sub=base&step=204&gid=TABLA&mid=a+b%40c.d&seq=7"
        self.assertEqual(s.request("GET", step, headers={"User-Agent": "WebServerLog"})[0], 200)
        post, get = s.log_lines()
        self.assertEqual((post["method"], post["target"], post["path"]),
                         ("POST", "/tracebook/v1/log", "/tracebook/v1/log"))
        self.assertEqual(base64.b64decode(post["body_base64"]), body)
        self.assertEqual(post["body"], body.decode("latin-1"))  # not UTF-8: byte per char
        sent = ("Content-type", "Content-Length", "User-Agent")
        self.assertEqual([post["headers"][k] for k in sent],
                         ["application/json", str(len(body)), headers["User-Agent"]])
        self.assertEqual((get["method"], get["target"], get["path"], get["status"]),
                         ("GET", step, "/log.html", 200))
        self.assertEqual(get["headers"]["User-Agent"], "WebServerLog")
        self.assertEqual(get["seq"], post["seq"] + 1)

    def test_stops_by_itself_and_on_signal(self):
        s = self.start(exit_after=1)
        self.assertEqual(s.proc.wait(timeout=15), 0)
        s = self.start()
        s.proc.send_signal(signal.SIGINT)
        self.assertEqual(s.proc.wait(timeout=15), 0)

    def test_usage_errors(self):
        for args in (["--fault", "status:700:/x"], ["--fault", "cut:1:x"],
                     ["--fault", "slow:1:/x"], ["--exit-after", "0"], ["--port", "70000"]):
            with self.subTest(args=args):
                r = subprocess.run([LDTOOL, "serve", "--root", self.root, *args],
                                   capture_output=True, timeout=15)
                self.assertEqual(r.returncode, 2)


if __name__ == "__main__":
    unittest.main()
