"""ldtool catalogue dump: what the starter reads from a game kind catalogue,
as one JSON object, and the package list it would build."""

import json
import os
import unittest

from tool_support import run, temp_dir

CATALOGUE = (
    b"; published by the portal\r\n"
    b"[TABLA]\r\nGameID1=tabla\r\nGameID2=deeprun\r\nGameID3=\r\nGameID4=both\r\nGameID6=lost\r\n"
    b"[tabla_dx]\r\ngameid1=both\r\n"
    b"[FLORAEX]\r\nGameID1=both\r\n"
    b"[LEISUREDECK]\r\nGameID1=solo\r\n"
    b"[DEEPRUN]\r\nfile=runner.exe\r\nall=0\r\nGameID1=deeprun\r\nGameID2=tabla\r\n"
    b"[GameSpec.deeprun]\r\nShortCut_IE=true\r\nShortCut_URL=http://portal/deeprun\r\n"
    b"ShortCut_desc=Deep \"Run\"\r\nShortCut_IconPath=/common/Images/x.ico\r\n"
    b"[GameSpec.tabla]\r\nShortCut_IE=TRUE\r\nShortCut_URL=\r\nShortCut_Name=never read\r\n"
    b"[unity_games]\r\ntabla, deeprun\r\nsolo=1\r\n"
    b"[no_base2005]\r\nsolo\r\n"
)


class CatalogueDumpTest(unittest.TestCase):
    def setUp(self):
        self.tmp = temp_dir(self)
        self.path = os.path.join(self.tmp.name, "gamekind.ini")
        with open(self.path, "wb") as f:
            f.write(CATALOGUE)

    def run_tool(self, *args):
        return run("catalogue", "dump", *args)

    def dump(self, *args):
        r = self.run_tool(*args)
        self.assertEqual(0, r.returncode, r.stderr)
        return json.loads(r.stdout)

    def test_full_object(self):
        d = self.dump(self.path, "--game", "deeprun", "--name", "Deep Run")
        self.assertEqual({
            "bases": {"TABLA": ["tabla", "deeprun", "both"], "TABLA_DX": ["both"],
                      "FLORAEX": ["both"], "LEISUREDECK": ["solo"]},
            "companion": {"file": "runner.exe", "all": False, "games": ["deeprun", "tabla"]},
            "shortcut": {"ie": True, "url": "http://portal/deeprun", "name": "Deep Run",
                         "desc": "Deep \"Run\"", "icon": "common\\Images\\x.ico"},
            "popup": True,
            "no_base2005": False,
            "packages": ["deeprun", "base2005", "tbbase"],
        }, d)

    def test_flags_and_shortcut_without_address(self):
        d = self.dump(self.path, "--game", "tabla", "--name", "Tabla")
        self.assertTrue(d["popup"])
        self.assertEqual({"ie": False, "url": "", "name": "", "desc": "", "icon": ""},
                         d["shortcut"])
        solo = self.dump(self.path, "--game", "SOLO")
        self.assertTrue(solo["no_base2005"])
        self.assertFalse(solo["popup"])  # "solo=1" is one word

    def test_missing_file_fails(self):
        r = self.run_tool(os.path.join(self.tmp.name, "none.ini"), "--game", "x")
        self.assertEqual((1, b""), (r.returncode, r.stdout))

    def test_usage(self):
        for args in ([], [self.path], [self.path, "--game"], ["--game", "x"],
                     [self.path, "--game", "x", "--bogus"], [self.path, self.path, "--game", "x"]):
            with self.subTest(args=args):
                r = self.run_tool(*args)
                self.assertEqual((2, b""), (r.returncode, r.stdout))
        r = self.run_tool("--help")
        self.assertEqual(0, r.returncode)
        self.assertIn(b"usage: ldtool catalogue dump", r.stdout)


if __name__ == "__main__":
    unittest.main()
