"""ldtool hul dump: the JSON form of an update list, its value types, the
local time zone of date-times, and the exit codes."""

import calendar
import json
import os
import unittest

import tool_support

SAMPLE = (
    b"[HEADER]\r\n"
    b"PrjName Tabla\r\n"
    b"pubdate 070315-123456\r\n"
    b"tchksum -5\r\n"
    b"tfileno 3\r\n"
    b"tzipsize 4294967295\r\n"
    b'downloadurl "http://dl.test/dist"\r\n'
    b"version 1.5.0\r\n"
    b"[INSTALL]\r\n"
    b"/\r\n"
    b"game.exe,-1,2147483648,10,20070315-123456\r\n"
    b"! a comment\r\n"
    b"old.dat,1,2,3,2007-03-15\r\n"
    b"/data/img\r\n"
    b"b c.bmp\t4\t5\t6\t20211231-235959\r\n"
    b"<WINDOWS>/Fonts\r\n"
    b"f.ttf,1,1,1,0\r\n"
    b"[UNINSTALL]\r\n"
    b"/old dir\r\n"
    b"gone file.dll\r\n"
    b"[SETUP_INSTALL]\r\n"
    b"/setup\r\n"
    b"dx.zip,7,8,9,20070315-123456\r\n"
    b"dropped.zip,7,8,9"  # no line feed: its date-time is lost
)


def run(*args, tz="UTC"):
    return tool_support.run("hul", *args, text=True, tz=tz)


class HulDumpTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tool_support.temp_dir(self)
        self.path = os.path.join(self.tmp.name, "TABLA.hul")
        with open(self.path, "wb") as f:
            f.write(SAMPLE)

    def dump(self, *extra, tz="UTC"):
        r = run("dump", *extra, self.path, tz=tz)
        self.assertEqual(r.returncode, 0, r.stderr)
        return json.loads(r.stdout)

    def test_form(self):
        d = self.dump()
        self.assertEqual(set(d), {"prjname", "pubdate", "tchksum", "tfileno", "tzipsize",
                                  "downloadurl", "version", "newer_layout", "install",
                                  "uninstall", "setup_install"})
        t = calendar.timegm((2007, 3, 15, 12, 34, 56))
        self.assertEqual([d[k] for k in ("prjname", "pubdate", "tchksum", "tfileno", "tzipsize",
                                         "downloadurl", "version", "newer_layout")],
                         ["Tabla", t, -5, 3, 2147483647, "http://dl.test/dist", "1.5.0", True])
        self.assertEqual([i["path"] for i in d["install"]],
                         ["\\", "\\data\\img", "C:\\WINDOWS\\Fonts"])
        self.assertEqual(d["install"][0]["files"], [
            {"name": "game.exe", "checksum": 4294967295, "size": 2147483647, "zipsize": 10,
             "time": t},
            {"name": "old.dat", "checksum": 1, "size": 2, "zipsize": 3, "time": 0}])
        self.assertEqual(d["install"][1]["files"][0]["time"],
                         calendar.timegm((2021, 12, 31, 23, 59, 59)))
        self.assertEqual([(u["path"], [f["name"] for f in u["files"]]) for u in d["uninstall"]],
                         [("\\old dir", ["gone file.dll"])])
        self.assertEqual(d["setup_install"], [
            {"path": "\\setup", "files": [
                {"name": "dx.zip", "checksum": 7, "size": 8, "zipsize": 9, "time": t}]}])

    def test_times_follow_local_zone(self):
        utc = self.dump(tz="UTC")
        seoul = self.dump(tz="Asia/Seoul")  # UTC+9, no daylight saving in 2007
        self.assertEqual(utc["pubdate"] - seoul["pubdate"], 9 * 3600)
        self.assertEqual(utc["install"][0]["files"][0]["time"] - seoul["install"][0]["files"][0]["time"],
                         9 * 3600)
        self.assertEqual(seoul["install"][0]["files"][1]["time"], 0)

    def test_folders_for_roots(self):
        d = self.dump("--windows", "D:\\Win")
        self.assertEqual(d["install"][2]["path"], "D:\\Win\\Fonts")

    def test_older_layout_and_defaults(self):
        with open(self.path, "wb") as f:
            f.write(b"/d\nf,1,2,3,0\n")
        d = self.dump()
        self.assertEqual((d["version"], d["newer_layout"], d["prjname"], d["pubdate"]),
                         ("1.0.0", False, "", 0))
        self.assertEqual((d["uninstall"], d["setup_install"]), ([], []))

    def test_exit_codes(self):
        r = run("dump", os.path.join(self.tmp.name, "missing.hul"))
        self.assertEqual((r.returncode, r.stdout), (1, ""))
        self.assertIn("missing.hul", r.stderr)
        for args in (("dump",), ("dump", "a", "b"), ("dump", "--bogus", self.path),
                     ("dump", self.path, "--windows")):
            self.assertEqual(run(*args).returncode, 2, args)
        r = run("dump", "--help")
        self.assertEqual(r.returncode, 0)
        self.assertIn("usage: ldtool hul dump", r.stdout)


if __name__ == "__main__":
    unittest.main()
