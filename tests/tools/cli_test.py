# The exact output forms operators and acceptance checks read (gamestring,
# version, memberid, hul, catalogue) and the exit codes: 0 done, 1 refused,
# 2 wrong usage (with nothing on standard output).

import calendar
import json
import os
import shutil
import tempfile
import unittest

from tool_support import run, write

ANSWER = ("ludoria://STONEBANchannel://ch1 metp://gs.example/a/b/c?x;"
          "k22e:8=STONEBAN&k93e:9=Stone Ban&k89e:20=http://dl.example/sb&"
          "k95e:19=http://www.example/&k96e:21=http://dl.example/hul&k60e:8=StoneBan&"
          "k91e:3=1.5&k3e:6=user01&k301e:7=a&b=c:d&k300e:6=TICKET&executor:3=web")
FIRST = "ludoria://gs.example/gs.asp?k22e=STONEBAN&k300e=SECRET&lang=KOREAN /x y"
P_FORM = "ludoria://P=&P0=dXNlcjAx&P1=U1RPTkVCQU4=&P2=MjU2&P4=tok"
OLD = "ludoria://gs.example/gs.qrx?k22e=g1&p189=%s&k3e=x"
NEW = "ludoria://P=&P0=dXNlcg==&P1=ZzE=&P2=%s"

# Parsing is core's; this checks each value lands under its own key.
HUL = (b"[HEADER]\r\nPrjName Tabla\r\npubdate 070315-123456\r\ntchksum -5\r\ntfileno 3\r\n"
       b'tzipsize 6\r\ndownloadurl "http://dl.test/dist"\r\nversion 1.5.0\r\n[INSTALL]\r\n'
       b"/data\r\ngame.exe,-1,2,3,20070315-123456\r\n<WINDOWS>/Fonts\r\nf.ttf,4,5,6,0\r\n"
       b"[UNINSTALL]\r\n/old dir\r\ngone file.dll\r\n[SETUP_INSTALL]\r\n/setup\r\ndx.zip,7,8,9,0\r\n")

# Parsing is core's; this checks what the starter would make of one game.
CATALOGUE = (
    b"[TABLA]\r\nGameID1=tabla\r\nGameID2=deeprun\r\n[tabla_dx]\r\ngameid1=both\r\n"
    b"[DEEPRUN]\r\nfile=runner.exe\r\nall=0\r\nGameID1=deeprun\r\nGameID2=tabla\r\n"
    b"[GameSpec.deeprun]\r\nShortCut_IE=true\r\nShortCut_URL=http://portal/deeprun\r\n"
    b"ShortCut_desc=Deep \"Run\"\r\nShortCut_IconPath=/common/Images/x.ico\r\n"
    b"[unity_games]\r\ntabla, deeprun\r\n[no_base2005]\r\nsolo\r\n")

FILES = {"TABLA.hul": HUL, "gamekind.ini": CATALOGUE, "v_same.dat": b"1.2.3.4",
         "v_back.dat": b"1.2.3.3 ROLLBACK\r\n", "v_empty.dat": b"",
         "ldstarter.ini": "[servers]\nalpha_download=127.0.0.1:8081\nreal_download=http://rd.test/\n"}

# (args, exit code, expected standard output: a text is the whole output, a
# list holds parts it must contain). "{d}" is the folder of FILES.
ROWS = [
    (("gamestring", "dump", FIRST), 0,
     "* Commandline *\n" + FIRST + "\n** head **\nludoria://gs.example/gs.asp\n"
     "** <key=value> parts **\n--- DONT CARE ---\nk300e=[TICKET]\n"
     '=== CARE ===\nk22e="STONEBAN"\nlang="KOREAN"\n** Other Params **\n/x y\n'),
    (("gamestring", "dump", P_FORM), 0,
     "* Commandline *\n" + P_FORM + "\n** head **\nludoria://\n** <key=value> parts **\n"
     '--- DONT CARE ---\nP4="tok"\n=== CARE ===\nP=""\nP0="user01"\nP1="STONEBAN"\nP2="256"\n\n'),
    (("gamestring", "dump", "--second", ANSWER), 0,
     ["* 2nd Gamestring *\n" + ANSWER + "\n** head **\n",
      '--- DONT CARE ---\nexecutor="web"\nk22e="STONEBAN"\n',
      "k300e=[TICKET]\nk301e=[COOKIE]\n=== CARE ===\n", "!TICKET\""]),
    (("gamestring", "dump", ANSWER, "--second"), 0, ["k300e=[TICKET]\nk301e=[COOKIE]\n"]),
    (("gamestring", "dump", "--", "-a=1"), 0, ['-a="1"']),
    (("gamestring", "analyse", ANSWER), 0,
     "gameid=STONEBAN\ntitle=Stone Ban\ndist=http://dl.example/sb\nhome=http://www.example/\n"
     "hul=http://dl.example/hul\nname=StoneBan\nversion=1.50\nmemberid=user01\nidentifier=a\n"
     "executor=web\n"),
    (("gamestring", "analyse", "Gchannel://metp://a/b/c/;"), 0,
     "gameid=G\ntitle=\ndist=\nhome=\nhul=\nname=\nversion=0.00\nmemberid=\nidentifier=\n"
     "executor=\n"),
    (("gamestring", "analyse", "ludoria://STONEBAN metp://a/b/c/;"), 1, "error:\n"),
    (("gamestring", "analyse", "ludoria://Gchannel://metp://a/b/c/"), 1, "error: semicolon\n"),
    (("gamestring", "request", "ludoria://http://gs/g.qrx?k22e=TABLA&x=1&k300e=T1&clk2"), 0,
     "request: http://gs/g.qrx?x=1\nmoved: k22e:5=TABLA\nmoved: k300e:2=T1\nmoved: clk2\n"),
    (("gamestring", "request", "http://gs/g?k22e=A"), 1, "error: no address\n"),
    (("gamestring", "merge", "--first", "ludoria://http://gs/g?k22e=TABLA&k300e=OLD&lang=ko",
      "--answer", "ludoria://TABLAchannel://c metp://a/b/c/;k22e:5=TABLA&k93e:4=Game"), 0,
     "second: ludoria://TABLAchannel://c metp://a/b/c/;k22e:5=TABLA&k22e:5=TABLA&k300e:3=OLD"
     "&k93e:4=Game\nfirst: ludoria://http://gs/g?k22e=TABLA&k300e=OLD&lang=ko&clk2=1\n"),
    (("gamestring", "handover", "ludoria://abc"), 0, "abc\n"),
    (("gamestring", "handover", "abc"), 1, "error: no prefix\n"),
    (("gamestring", "zone", "--ini", "{d}/ldstarter.ini", OLD % "4"), 0,
     "zone=4\nnumber=4\ndist=http://127.0.0.1:8081/pica/dist\ndownload=http://rd.test/dist\n"
     "hul=http://rd.test/hul\n"),
    (("gamestring", "zone", "--ini", "{d}/none.ini", OLD % "4"), 1, ""),
    (("gamestring", "zone", "--", "-&p189=2"), 0, ["zone=2\n"]),
    (("gamestring", "zone", NEW % "MjU2"), 0, ["zone=3\n"]),  # 256
    (("gamestring", "zone", NEW % "MTAyNA=="), 0, ["number=1\n"]),  # 1024
    (("version", "compare", "{d}/v_same.dat", "1.2.3.4"), 0, "no update\n"),
    (("version", "compare", "{d}/v_back.dat", "1.2.3.4"), 0, "update\n"),
    (("version", "compare", "{d}/v_empty.dat", "1.2.3.4"), 0, "no update\n"),
    (("version", "compare", "{d}/none.dat", "1.2.3.4"), 1, ""),
    (("memberid", "unscramble", "gamer1"), 1, ""),
    (("hul", "dump", "{d}/missing.hul"), 1, ""),
    (("catalogue", "dump", "{d}/none.ini", "--game", "x"), 1, ""),
    (("gamestring", "--help"), 0, ["gamestring dump", "gamestring analyse"]),
]
for group in ["gamestring dump", "gamestring analyse", "gamestring zone", "version compare",
              "hul dump", "catalogue dump"]:
    ROWS.append(((*group.split(), "--help"), 0, ["usage: ldtool " + group]))
USAGE = [
    "gamestring dump", "gamestring dump a b", "gamestring dump --bogus x",
    "gamestring dump --second", "gamestring analyse", "gamestring analyse --second x",
    "gamestring zone", "gamestring zone a b", "gamestring zone x --ini",
    "version compare {d}/v_empty.dat", "version compare {d}/v_empty.dat 1.2.3",
    "version compare {d}/v_empty.dat 1.2.3.65536", "version compare {d}/v_empty.dat 1.2.3.4 x",
    "version compare --bogus {d}/v_empty.dat 1.2.3.4", "memberid scramble",
    "memberid unscramble a b", "hul dump", "hul dump a b", "hul dump --bogus {d}/TABLA.hul",
    "hul dump {d}/TABLA.hul --windows", "catalogue dump {d}/gamekind.ini",
    "catalogue dump {d}/gamekind.ini --game", "catalogue dump --game x",
    "catalogue dump {d}/gamekind.ini --game x --bogus",
    "catalogue dump {d}/gamekind.ini {d}/gamekind.ini --game x",
    "serve --root {d} --fault status:700:/x", "serve --root {d} --fault cut:1:x",
    "serve --root {d} --fault slow:1:/x", "serve --root {d} --exit-after 0",
    "serve --root {d} --port 70000",
]
ROWS += [(tuple(args.split()), 2, "") for args in USAGE]


class CliTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.d = tempfile.mkdtemp()
        cls.addClassCleanup(shutil.rmtree, cls.d)
        for name, data in FILES.items():
            write(os.path.join(cls.d, name), data)

    def tool(self, *args, code=0, tz=None):
        r = run(*(a.replace("{d}", self.d) for a in args), tz=tz)
        self.assertEqual(r.returncode, code, (args, r.stderr))
        return r.stdout

    def test_rows(self):
        for args, code, expected in ROWS:
            with self.subTest(args=args):
                out = self.tool(*args, code=code)
                if isinstance(expected, str):
                    self.assertEqual(out, expected)
                for part in expected if isinstance(expected, list) else []:
                    self.assertTrue(part[1:] not in out if part[0] == "!" else part in out, part)

    def zone(self, text):
        return dict(l.split("=", 1) for l in self.tool("gamestring", "zone", text).splitlines())

    def test_zone_addresses(self):
        # Host names are deployment settings: compare addresses with each other.
        for text in ["ludoria://gs.example/gs.qrx?k22e=g1", NEW % "MTI4MA=="]:
            z = self.zone(text)
            self.assertEqual((z["zone"], z["number"]), ("", "0"), text)
            self.assertTrue(z["dist"].startswith("http://") and z["dist"].endswith("/dist"))
            real = z["dist"][: -len("/dist")]
            self.assertEqual((z["download"], z["hul"]), (real + "/dist", real + "/hul"))
        z = self.zone(OLD % "6")  # a test zone numbered outside 1 to 5
        self.assertEqual((z["zone"], z["number"]), ("6", "0"))
        self.assertEqual(z["dist"], self.zone(OLD % "")["download"])

    def test_memberid_round_trip_and_check_byte(self):
        for plain in ["tester 01@ludo.kr", "x" * 70]:
            hex_text = self.tool("memberid", "scramble", plain).strip()
            self.assertRegex(hex_text, r"^[0-9A-F]{%d}$" % (2 * len(plain) + 2))
            self.assertEqual(self.tool("memberid", "unscramble", hex_text.lower()), plain + "\n")
        bad = hex_text[:-1] + ("0" if hex_text[-1] != "0" else "1")
        for text in [bad, hex_text[1:]]:
            self.assertEqual(self.tool("memberid", "unscramble", text, code=1), "")

    def hul(self, *extra, tz="UTC"):
        return json.loads(self.tool("hul", "dump", *extra, "{d}/TABLA.hul", tz=tz))

    def test_hul_dump(self):
        t = calendar.timegm((2007, 3, 15, 12, 34, 56))

        def entry(*values):
            return dict(zip(("name", "checksum", "size", "zipsize", "time"), values))
        self.assertEqual(self.hul(), {
            "prjname": "Tabla", "pubdate": t, "tchksum": -5, "tfileno": 3, "tzipsize": 6,
            "downloadurl": "http://dl.test/dist", "version": "1.5.0", "newer_layout": True,
            "install": [{"path": "\\data", "files": [entry("game.exe", 4294967295, 2, 3, t)]},
                        {"path": "C:\\WINDOWS\\Fonts", "files": [entry("f.ttf", 4, 5, 6, 0)]}],
            "uninstall": [{"path": "\\old dir", "files": [entry("gone file.dll", 0, 0, 0, 0)]}],
            "setup_install": [{"path": "\\setup", "files": [entry("dx.zip", 7, 8, 9, 0)]}]})
        # Date-times are local: Seoul is UTC+9 with no daylight saving in 2007.
        seoul = self.hul(tz="Asia/Seoul")
        self.assertEqual((seoul["pubdate"], seoul["install"][0]["files"][0]["time"]),
                         (t - 9 * 3600, t - 9 * 3600))
        self.assertEqual(self.hul("--windows", "D:\\Win")["install"][1]["path"], "D:\\Win\\Fonts")

    def test_catalogue_dump(self):
        self.assertEqual({
            "bases": {"TABLA": ["tabla", "deeprun"], "TABLA_DX": ["both"], "FLORAEX": [],
                      "LEISUREDECK": []},
            "companion": {"file": "runner.exe", "all": False, "games": ["deeprun", "tabla"]},
            "shortcut": {"ie": True, "url": "http://portal/deeprun", "name": "Deep Run",
                         "desc": "Deep \"Run\"", "icon": "common\\Images\\x.ico"},
            "popup": True, "no_base2005": False, "packages": ["deeprun", "base2005", "tbbase"],
        }, json.loads(self.tool("catalogue", "dump", "{d}/gamekind.ini", "--game", "deeprun",
                                "--name", "Deep Run")))
        solo = json.loads(self.tool("catalogue", "dump", "{d}/gamekind.ini", "--game", "SOLO"))
        self.assertEqual((solo["no_base2005"], solo["popup"]), (True, False))

if __name__ == "__main__":
    unittest.main()
