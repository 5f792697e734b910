"""ldtool gamestring request/merge/handover (exact output forms) and the
launch-string servers of ldtool serve over HTTP and HTTPS."""

import http.client
import os
import shutil
import ssl
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gamestring_test import run  # noqa: E402
from serve_test import Server  # noqa: E402
from tool_support import temp_dir  # noqa: E402


class InspectorTest(unittest.TestCase):
    def check(self, args, code, out):
        r = run(*args)
        self.assertEqual(r.returncode, code, r.stderr)
        self.assertEqual(r.stdout.decode(), out)

    def test_request_moves_fields_in_order(self):
        self.check(("gamestring", "request",
                    "ludoria://http://gs/g.qrx?k22e=TABLA&x=1&k300e=T1&clk2"),
                   0, "request: http://gs/g.qrx?x=1\nmoved: k22e:5=TABLA\n"
                      "moved: k300e:2=T1\nmoved: clk2\n")
        self.check(("gamestring", "request", "http://gs/g?k22e=A"), 1, "error: no address\n")

    def test_merge_inserts_fields_and_resyncs_ticket(self):
        first = "ludoria://http://gs/g?k22e=TABLA&k300e=OLD&lang=ko"
        answer = "ludoria://TABLAchannel://c metp://a/b/c/;k22e:5=TABLA&k93e:4=Game"
        self.check(("gamestring", "merge", "--first", first, "--answer", answer), 0,
                   "second: ludoria://TABLAchannel://c metp://a/b/c/;k22e:5=TABLA"
                   "&k22e:5=TABLA&k300e:3=OLD&k93e:4=Game\n"
                   "first: ludoria://http://gs/g?k22e=TABLA&k300e=OLD&lang=ko&clk2=1\n")

    def test_handover(self):
        self.check(("gamestring", "handover", "ludoria://abc"), 0, "abc\n")
        self.check(("gamestring", "handover", "abc"), 1, "error: no prefix\n")


class LaunchServerTest(unittest.TestCase):
    def setUp(self):
        self.tmp = temp_dir(self)
        self.root = os.path.join(self.tmp.name, "root")
        os.makedirs(os.path.join(self.root, "gamestring"))
        os.makedirs(os.path.join(self.root, "plum"))
        with open(os.path.join(self.root, "gamestring", "TABLA.txt"), "w") as f:
            f.write("ludoria://TABLAchannel://c metp://a/b/c/;k93e:4=Game")
        self.server = Server(self.root, "--fault", "status:503#1:/identifier/refresh.qrx")
        self.addCleanup(self.server.stop)

    def https(self, path, body):
        context = ssl.create_default_context()
        context.check_hostname = False
        context.verify_mode = ssl.CERT_NONE
        conn = http.client.HTTPSConnection("127.0.0.1", self.server.https_port, timeout=10,
                                           context=context)
        try:
            conn.request("POST", path, body=body,
                         headers={"Content-type": "application/x-www-form-urlencoded"})
            resp = conn.getresponse()
            return resp.status, resp.read()
        finally:
            conn.close()

    def test_every_server_answers_and_logs(self):
        status, body, _, _ = self.server.request("GET", "/gamestring/TABLA?p189=3&x=y")
        self.assertEqual((status, body), (200, b"ludoria://TABLAchannel://c metp://a/b/c/;k93e:4=Game"))
        self.assertEqual(self.server.request("GET", "/gamestring/NONE")[0], 404)
        self.assertEqual(self.server.request("GET", "/gamestring/..%2Fx")[0], 404)

        # The fault switch applies: the first identifier refresh fails.
        q = "/identifier/refresh.qrx?memberid=m&gameid=G&identifier=i"
        self.assertEqual(self.server.request("POST", q, body=b"")[0], 503)
        self.assertEqual(self.server.request("POST", q, body=b"")[:2], (200, b"refreshed-identifier"))
        with open(os.path.join(self.root, "plum", "identifier.txt"), "w") as f:
            f.write("ID&2")
        self.assertEqual(self.server.request("POST", "/gstr/cocas/get.qrx", body=b"")[:2],
                         (200, b"ID&2"))

        status, body = self.https("/identifier/vesper/refresh.qrx", b"memberno=a&gameid=b")
        self.assertEqual(status, 200)
        self.assertIn(b'"accesstoken"', body)
        status, _, resp, _ = self.server.request("GET", "/launcher.qrx?gameid=tabla")
        self.assertEqual((status, resp.getheader("Content-Type")), (200, "text/html"))

        log = self.server.log_lines()
        targets = [(e["method"], e["target"], e["status"]) for e in log]
        self.assertIn(("GET", "/gamestring/TABLA?p189=3&x=y", 200), targets)
        self.assertIn(("POST", q, 503), targets)
        token = [e for e in log if e["path"] == "/identifier/vesper/refresh.qrx"]
        self.assertEqual(token[0]["body"], "memberno=a&gameid=b")


class GivenCertificateTest(unittest.TestCase):
    @unittest.skipUnless(shutil.which("openssl"), "no openssl command")
    def test_https_uses_the_given_certificate(self):
        with tempfile.TemporaryDirectory() as tmp:
            cert, key = os.path.join(tmp, "c.pem"), os.path.join(tmp, "k.pem")
            subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes",
                            "-keyout", key, "-out", cert, "-days", "1", "-subj", "/CN=given"],
                           check=True, capture_output=True)
            os.makedirs(os.path.join(tmp, "root"))
            server = Server(os.path.join(tmp, "root"), "--tls-cert", cert, "--tls-key", key)
            try:
                served = ssl.get_server_certificate(("127.0.0.1", server.https_port))
            finally:
                server.stop()
            with open(cert) as f:
                self.assertEqual(ssl.PEM_cert_to_DER_cert(served),
                                 ssl.PEM_cert_to_DER_cert(f.read()))


if __name__ == "__main__":
    unittest.main()
