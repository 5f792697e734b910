"""ldtool gamestring zone and ldtool version compare: the exact output forms
operators and acceptance checks read. Host names are deployment settings, so
the zone checks compare addresses with each other rather than with names."""

import os
import tempfile
import unittest

import tool_support


def run(*args):
    return tool_support.run(*args, text=True)


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
        for text in ["ludoria://gs.example/gs.qrx?k22e=g1", NEW % "MTI4MA=="]:
            z = zone(text)
            self.assertEqual(z["zone"], "", text)
            self.assertEqual(z["number"], "0", text)
            real = strip_suffix(z["dist"], "/dist")
            self.assertTrue(real.startswith("http://"), real)
            self.assertEqual(z["download"], real + "/dist")
            self.assertEqual(z["hul"], real + "/hul")

    def test_test_zone_number_outside_1_to_5(self):
        z = zone(OLD % "6")
        self.assertEqual((z["zone"], z["number"]), ("6", "0"))
        self.assertEqual(z["dist"], zone(OLD % "")["download"])  # the real zone's root

    def test_new_format_reads_p2(self):
        self.assertEqual(zone(NEW % "MjU2")["zone"], "3")  # 256
        self.assertEqual(zone(NEW % "MTAyNA==")["number"], "1")  # 1024

    def test_usage(self):
        r = run("gamestring", "zone", "--help")
        self.assertEqual(r.returncode, 0)
        self.assertIn("usage: ldtool gamestring zone [--ini FILE] TEXT", r.stdout)
        for args in [[], ["a", "b"], ["--bogus", "x"]]:
            r = run("gamestring", "zone", *args)
            self.assertEqual((r.returncode, r.stdout), (2, ""), args)
            self.assertIn("gamestring zone", r.stderr)
        # "--" lets a TEXT start with a dash.
        self.assertEqual(run("gamestring", "zone", "--", "-&p189=2").stdout.split("\n")[0],
                         "zone=2")

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
            self.assertEqual((r.returncode, r.stdout), (1, ""))
            self.assertEqual(run("gamestring", "zone", OLD % "4", "--ini").returncode, 2)


class VersionCompareTest(unittest.TestCase):
    def setUp(self):
        self.dir = tool_support.temp_dir(self)

    def compare(self, content, own):
        path = os.path.join(self.dir.name, "ldstarter_verinfo.dat")
        with open(path, "wb") as f:
            f.write(content)
        return run("version", "compare", path, own)

    def test_decisions(self):
        cases = [
            (b"1.2.3.4", "1.2.3.4", "no update"),
            (b"1.2.3.3 ROLLBACK\r\n", "1.2.3.4", "update"),
            (b"", "1.2.3.4", "no update"),
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
            self.assertEqual((r.returncode, r.stdout), (2, ""), args)
            self.assertIn("version compare", r.stderr)
        r = run("version", "compare", os.path.join(self.dir.name, "none.dat"), "1.2.3.4")
        self.assertEqual((r.returncode, r.stdout), (1, ""))
        self.assertIn("cannot read", r.stderr)


if __name__ == "__main__":
    unittest.main()
