# ldtool serve: the download tree, the fault switches, the request log the
# starter's tests read, the launch-string servers over HTTP and HTTPS.

import base64
import http.client
import os
import shutil
import signal
import ssl
import subprocess
import time
import unittest

from tool_support import Server, temp_dir, write


class ServeTest(unittest.TestCase):
    def setUp(self):
        self.tmp = temp_dir(self)
        self.root = os.path.join(self.tmp, "root")
        self.big = os.urandom(2500000)  # large enough to be streamed, not held in memory
        for rel, data in [("dist/pkg/a.zip", self.big), ("dist/pkg/empty.zip", b""),
                          ("dist/pkg/data/b c.zip", b"spaced name"),
                          ("dist/pkg/data/big.zip", self.big),
                          ("gamestring/TABLA.txt", b"ludoria://TABLAchannel://c metp://a/;k93e:4=G")]:
            write(os.path.join(self.root, rel), data)

    def start(self, *extra, **kw):
        s = Server(self.root, *extra, **kw)
        self.addCleanup(s.stop)
        return s

    def test_answers_and_log(self):
        s = self.start("--fault", "status:503#1:/identifier/refresh.qrx")
        body = b'{"body":"x","gameId":"TABLA"}\xb7\xe7'  # code page 949 bytes
        headers = {"Content-type": "application/json", "Accept": "text/*",
                   "User-Agent": "Mozilla/4.0 (compatible; MSIE 6.0;* Windows NT)"}
        self.assertEqual(s.request("POST", "/tracebook/v1/log", body=body, headers=headers)[0], 200)
        step = "/log.html?sub=base&step=204&gid=TABLA&mid=a+b%40c.d&seq=7"
        self.assertEqual(s.request("GET", step, headers={"User-Agent": "WebServerLog"})[0], 200)
        post, get = s.log_lines()[:2]
        self.assertEqual((post["method"], post["target"], post["path"]),
                         ("POST", "/tracebook/v1/log", "/tracebook/v1/log"))
        self.assertEqual(base64.b64decode(post["body_base64"]), body)
        self.assertEqual(post["body"], body.decode("latin-1"))  # not UTF-8: byte per char
        self.assertEqual([post["headers"][k] for k in ("Content-type", "Content-Length", "User-Agent")],
                         ["application/json", str(len(body)), headers["User-Agent"]])
        self.assertEqual((get["method"], get["target"], get["path"], get["status"], get["seq"]),
                         ("GET", step, "/log.html", 200, post["seq"] + 1))
        self.assertEqual(get["headers"]["User-Agent"], "WebServerLog")
        # A Windows client keeps finished connections open for reuse; new
        # requests must not queue behind them for their 5 s keep-alive time.
        idle = []
        try:
            for _ in range(16):
                conn = http.client.HTTPConnection("127.0.0.1", s.port, timeout=3)
                idle.append(conn)
                conn.request("GET", "/dist/pkg/data/b%20c.zip")
                self.assertEqual(conn.getresponse().read(), b"spaced name")
        finally:
            for conn in idle:
                conn.close()
        refresh = "/identifier/refresh.qrx?memberid=m&gameid=G&identifier=i"
        cases = [  # (method, path, status, body or None)
            ("GET", "/dist/pkg/a.zip", 200, self.big),
            ("GET", "/dist/pkg/empty.zip", 200, b""),
            ("GET", "/dist/pkg/data/b%20c.zip", 200, b"spaced name"),
            ("GET", "/dist/pkg/missing.zip", 404, None),
            ("GET", "/dist/pkg", 404, None),  # folders are not listed
            ("GET", "/dist/../../etc/passwd", 404, None),
            ("GET", "/dist/%2e%2e/%2e%2e/etc/passwd", 404, None),
            ("GET", "/dist/pkg/..%2fpkg/a.zip", 404, None),
            ("POST", "/dist/pkg/a.zip", 404, None),
            ("PUT", "/dist/pkg/a.zip", 405, None),
            ("GET", "/gamestring/TABLA?p189=3&x=y", 200,
             b"ludoria://TABLAchannel://c metp://a/;k93e:4=G"),
            ("GET", "/gamestring/NONE", 404, None),
            ("GET", "/gamestring/..%2Fx", 404, None),
            ("POST", refresh, 503, None),  # the fault switch counts one
            ("POST", refresh, 200, b"refreshed-identifier"),
            ("POST", "/gstr/cocas/get.qrx", 200, b"refreshed-identifier"),
        ]
        for method, path, status, body in cases:
            with self.subTest(method=method, path=path):
                got, data, _, cut = s.request(method, path, body=None if method == "GET" else b"")
                self.assertEqual((got, cut), (status, None))
                if body is not None:
                    self.assertEqual(data, body)
        write(os.path.join(self.root, "plum", "identifier.txt"), b"ID&2")
        self.assertEqual(s.request("POST", "/gstr/cocas/get.qrx", body=b"")[:2], (200, b"ID&2"))
        status, data, resp, _ = s.request("HEAD", "/dist/pkg/a.zip")
        self.assertEqual((status, data, resp.getheader("Content-Length")),
                         (200, b"", str(len(self.big))))
        status, _, resp, _ = s.request("GET", "/launcher.qrx?gameid=tabla")
        self.assertEqual((status, resp.getheader("Content-Type")), (200, "text/html"))
        log = [(e["method"], e["target"], e["status"]) for e in s.log_lines()]
        self.assertIn(("POST", refresh, 503), log)

    def test_fault_switches(self):
        s = self.start("--fault", "status:503#2:/dist/pkg/a.zip",
                       "--fault", "cut:1000:/dist/pkg/data/*",
                       "--fault", "status:500:/tracebook/v1/log", "--fault", "delay:300:/log.html")
        self.assertEqual([s.request("GET", "/dist/pkg/a.zip")[0] for _ in range(3)], [503, 503, 200])
        shorter = s.request("GET", "/dist/pkg/data/b%20c.zip")
        self.assertEqual((shorter[0], shorter[1], shorter[3]), (200, b"spaced name", None))
        status, data, resp, cut = s.request("GET", "/dist/pkg/data/big.zip")
        self.assertEqual((status, cut, data, resp.getheader("Content-Length")),
                         (200, "cut", self.big[:1000], str(len(self.big))))
        self.assertEqual(s.request("POST", "/tracebook/v1/log", body=b"{}")[0], 500)
        start = time.monotonic()
        self.assertEqual(s.request("GET", "/log.html?step=200")[0], 200)
        self.assertGreaterEqual(time.monotonic() - start, 0.3)
        faults = [(l["path"], l["status"], l["faults"]) for l in s.log_lines()]
        self.assertEqual((faults[0], faults[2], faults[4], faults[-1]),
                         (("/dist/pkg/a.zip", 503, "status=503"), ("/dist/pkg/a.zip", 200, ""),
                          ("/dist/pkg/data/big.zip", 200, "cut=1000"),
                          ("/log.html", 200, "delay=300")))

    def test_stops_by_itself_and_on_signal(self):
        self.assertEqual(self.start(exit_after=1).proc.wait(timeout=15), 0)
        s = self.start()
        s.proc.send_signal(signal.SIGINT)
        self.assertEqual(s.proc.wait(timeout=15), 0)

    @unittest.skipUnless(shutil.which("openssl"), "no openssl command")
    def test_https_token_server_with_the_given_certificate(self):
        cert, key = os.path.join(self.tmp, "c.pem"), os.path.join(self.tmp, "k.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
                        "-out", cert, "-days", "1", "-subj", "/CN=given"],
                       check=True, capture_output=True)
        s = self.start("--tls-cert", cert, "--tls-key", key)
        context = ssl.create_default_context(cafile=cert)  # trusts the given one alone
        context.check_hostname = False
        conn = http.client.HTTPSConnection("127.0.0.1", s.https_port, timeout=10, context=context)
        conn.request("POST", "/identifier/vesper/refresh.qrx", body=b"memberno=a&gameid=b",
                     headers={"Content-type": "application/x-www-form-urlencoded"})
        resp = conn.getresponse()
        self.assertEqual((resp.status, b'"accesstoken"' in resp.read()), (200, True))
        conn.close()
        self.assertEqual(s.log_lines()[-1]["body"], "memberno=a&gameid=b")

if __name__ == "__main__":
    unittest.main()
