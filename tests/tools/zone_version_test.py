"""ldtool gamestring zone and ldtool version compare: the exact output forms
operators and acceptance checks read. Host names are deployment settings, so
the zone checks compare addresses with each other rather than with names."""

import os
import subprocess
import tempfile
import unittest

LDTOOL = os.environ.get("LDTOOL", "ldtool")


def run(*args):
    return subprocess.run([LDTOOL, *args], capture_output=True, text=True, timeout=30)


def zone(text):
    r = run("gamestring", "zone", text)
    if r.returncode != 0:
        raise AssertionError("exit %d: %s" % (r.returncode, r.stderr))
    lines = r.stdout.split("\n")
    assert lines[-1] == "", "output must end with a newline: %r" % r.stdout
    keys = [l.split("=", 1)[0] for l in lines[:-1]]
    assert keys == ["zone", "number", "dist", "download", "hul"], r.stdout
    return dict(l.split("=", 1) for l in lines[:-1])


def strip_suffix(text, suffix):
    assert text.endswith(suffix), "%r does not end with %r" % (text, suffix)
    return text[: -len(suffix)]


OLD = "ludoria://gs.example/gs.qrx?k22e=g1&p189=%s&k3e=x"
NEW = "ludoria://P=&P0=dXNlcg==&P1=ZzE=&P2=%s"


class GamestringZoneTest(unittest.TestCase):
    def test_real_zone(self):
        for text in ["ludoria://gs.example/gs.qrx?k22e=g1", "ludoria://gs.example/gs.qrx?p189=1",
                     "ludoria://gs.example/gs.qrx?k22e=g1&p189=", NEW % "MTI4MA=="]:
            z = zone(text)
            self.assertEqual(z["zone"], "", text)
            self.assertEqual(z["number"], "0", text)
            real = strip_suffix(z["dist"], "/dist")
            self.assertTrue(real.startswith("http://"), real)
            self.assertEqual(z["download"], real + "/dist")
            self.assertEqual(z["hul"], real + "/hul")

    def test_old_format_zones(self):
        real = strip_suffix(zone("ludoria://gs.example/gs.qrx?k22e=g1")["download"], "/dist")
        z = {c: zone(OLD % c) for c in "123456"}
        for c in "12345":
            self.assertEqual(z[c]["zone"], c)
            self.assertEqual(z[c]["number"], c)
        dev = strip_suffix(z["1"]["dist"], "/ld2005/dist")
        self.assertEqual(z["2"]["dist"], dev + "/pica/dist")
        alpha = strip_suffix(z["3"]["dist"], "/ld2005/dist")
        self.assertEqual(z["4"]["dist"], alpha + "/pica/dist")
        strip_suffix(z["5"]["dist"], "/ld2005/dist")
        # Only zone numbers 1 and 3 have a download root of their own.
        self.assertEqual(z["1"]["download"], dev + "/ld2005/dist")
        self.assertEqual(z["1"]["hul"], dev + "/ld2005/hul")
        self.assertEqual(z["3"]["download"], alpha + "/ld2005/dist")
        for c in "2456":
            self.assertEqual(z[c]["download"], real + "/dist", c)
            self.assertEqual(z[c]["hul"], real + "/hul", c)
        # Any byte behind "&p189=" is a zone value; outside 1..5 its number is 0.
        self.assertEqual(zone(OLD % "")["zone"], "&")
        self.assertEqual(z["6"]["zone"], "6")
        self.assertEqual(z["6"]["number"], "0")
        self.assertEqual(z["6"]["dist"], real + "/dist")

    def test_new_format_reads_p2(self):
        self.assertEqual(zone(NEW % "MjU2")["zone"], "3")          # 256
        self.assertEqual(zone(NEW % "MTAyNA==")["zone"], "1")      # 1024
        self.assertEqual(zone(NEW % "MTAyNA==")["number"], "1")
        # p189 is not read in the new format; P2 is not read in the old one.
        self.assertEqual(zone("ludoria://P=&P1=ZzE=&p189=3")["zone"], "")
        self.assertEqual(zone("ludoria://gs.example/gs.qrx?a=1&P2=MjU2")["zone"], "")

    def test_usage(self):
        r = run("gamestring", "zone", "--help")
        self.assertEqual(r.returncode, 0)
        self.assertIn("usage: ldtool gamestring zone [--ini FILE] TEXT", r.stdout)
        for args in [[], ["a", "b"], ["--bogus", "x"]]:
            r = run("gamestring", "zone", *args)
            self.assertEqual(r.returncode, 2, args)
            self.assertEqual(r.stdout, "", args)
            self.assertIn("gamestring zone", r.stderr)
        # "--" lets a TEXT start with a dash.
        self.assertEqual(run("gamestring", "zone", "--", "-&p189=2").stdout.split("\n")[0],
                         "zone=2")


class GamestringZoneIniTest(unittest.TestCase):
    def test_servers_section_overrides_hosts(self):
        with tempfile.TemporaryDirectory() as d:
            ini = os.path.join(d, "ldstarter.ini")
            with open(ini, "w") as f:
                f.write("[servers]\nalpha_download=127.0.0.1:8081\nreal_download=http://rd.test/\n")
            r = run("gamestring", "zone", "--ini", ini, OLD % "4")
            self.assertEqual(r.returncode, 0, r.stderr)
            self.assertEqual(r.stdout, "zone=4\nnumber=4\n"
                             "dist=http://127.0.0.1:8081/pica/dist\n"
                             "download=http://rd.test/dist\nhul=http://rd.test/hul\n")
            r = run("gamestring", "zone", "--ini", os.path.join(d, "none.ini"), OLD % "4")
            self.assertEqual(r.returncode, 1)
            self.assertEqual(r.stdout, "")
            self.assertEqual(run("gamestring", "zone", OLD % "4", "--ini").returncode, 2)


class VersionCompareTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.dir.cleanup()

    def compare(self, content, own):
        path = os.path.join(self.dir.name, "ldstarter_verinfo.dat")
        with open(path, "wb") as f:
            f.write(content)
        return run("version", "compare", path, own)

    def test_decisions(self):
        cases = [
            (b"1.2.3.4", "1.2.3.4", "no update"),
            (b"1.2.3.4 rollback", "1.2.3.4", "no update"),
            (b"1.2.3.3 ROLLBACK\r\n", "1.2.3.4", "update"),
            (b"1.2.3.3", "1.2.3.4", "no update"),
            (b"1.2.3.5 whatever", "1.2.3.4", "update"),
            (b"", "1.2.3.4", "no update"),
            (b"2.0.0.0\n", "1.65535.65535.65535", "update"),
            (b"1.2.65539.4", "1.2.2.4", "update"),
        ]
        for content, own, expected in cases:
            r = self.compare(content, own)
            self.assertEqual((r.returncode, r.stdout), (0, expected + "\n"), (content, own))

    def test_usage(self):
        r = run("version", "compare", "--help")
        self.assertEqual(r.returncode, 0)
        self.assertIn("usage: ldtool version compare FILE A.B.C.D", r.stdout)
        path = os.path.join(self.dir.name, "v.dat")
        open(path, "wb").close()
        for args in [[], [path], [path, "1.2.3"], [path, "1.2.3.65536"], [path, "1.2.3.4", "x"],
                     ["--bogus", path, "1.2.3.4"]]:
            r = run("version", "compare", *args)
            self.assertEqual(r.returncode, 2, args)
            self.assertEqual(r.stdout, "", args)
            self.assertIn("version compare", r.stderr)

    def test_missing_file(self):
        r = run("version", "compare", os.path.join(self.dir.name, "none.dat"), "1.2.3.4")
        self.assertEqual(r.returncode, 1)
        self.assertEqual(r.stdout, "")
        self.assertIn("cannot read", r.stderr)


if __name__ == "__main__":
    unittest.main()
