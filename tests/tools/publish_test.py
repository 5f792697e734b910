# ldtool publish, read back with `hul dump` and `catalogue dump`; `hul check`
# (the starter's file check) must find the source folder up to date and each
# kind of change as exactly one file with the right code.

import json
import os
import shutil
import time
import unittest
import zipfile
from pathlib import Path

from tool_support import run, temp_dir, write

# A fixed local time with odd seconds: zips keep two-second steps, the list
# keeps the second, the file check compares to the minute.
BASE_TIME = time.mktime((2021, 3, 15, 12, 34, 57, 0, 0, -1))

FILES = {  # relative path -> bytes
    "game.exe": os.urandom(3000),
    "lib.DLL": os.urandom(777),
    "empty.dat": b"",
    "data/readme.txt": b"read me\r\n",
    "data/img/a.bin": os.urandom(70000),
    "Sys Files/b c.dll": b"\xff" * 5000,  # spaces in folder and file names
}


def ok(*args):
    return run(*args, check=True)


def tree(root):
    return {str(p.relative_to(root)): p.read_bytes() for p in Path(root).rglob("*") if p.is_file()}


def set_time(path, t):
    os.utime(path, (t, t))


class PublishTest(unittest.TestCase):
    def setUp(self):
        self.tmp = temp_dir(self)
        self.src = os.path.join(self.tmp, "src")
        self.root = os.path.join(self.tmp, "root")
        for i, (rel, data) in enumerate(sorted(FILES.items())):
            write(os.path.join(self.src, rel), data)
            set_time(os.path.join(self.src, rel), BASE_TIME + 3600 * i)  # a different hour each

    def publish(self, *extra, package="TABLA", src=None, code=0):
        r = run("publish", "--package", package, "--from", src or self.src, "--to", self.root,
                *extra)
        self.assertEqual(r.returncode, code, r.stderr)

    def hul(self, package="TABLA"):
        return os.path.join(self.root, "hul", "newhul", package + ".hul")

    def test_list_and_zips_describe_the_folder(self):
        self.publish("--uninstall", "/data/old.txt", "--uninstall", "<WINDOWS>/Fonts/x.ttf")
        doc = json.loads(ok("hul", "dump", self.hul()).stdout)
        self.assertEqual((doc["prjname"], doc["version"], doc["newer_layout"], doc["tfileno"]),
                         ("TABLA", "1.5.0", True, len(FILES)))
        listed = {(d["path"], f["name"]): f for d in doc["install"] for f in d["files"]}
        self.assertEqual(len(listed), len(FILES))
        zip_total = checksum_total = 0
        for rel, data in FILES.items():
            with self.subTest(file=rel):
                f = listed[("\\" + os.path.dirname(rel).replace("/", "\\"), os.path.basename(rel))]
                mtime = os.stat(os.path.join(self.src, rel)).st_mtime
                zpath = os.path.join(self.root, "dist", "TABLA", rel + ".zip")
                self.assertEqual((f["size"], f["checksum"], f["time"], f["zipsize"]),
                                 (len(data), sum(data) & 0xFFFFFFFF, int(mtime),
                                  os.path.getsize(zpath)))
                with zipfile.ZipFile(zpath) as z:
                    (info,) = z.infolist()
                    lt = time.localtime(mtime)
                    self.assertEqual((info.filename, z.read(info), info.date_time),
                                     (os.path.basename(rel), data, (*lt[:5], lt[5] // 2 * 2)))
                zip_total += f["zipsize"]
                checksum_total += f["checksum"]
        signed = checksum_total & 0xFFFFFFFF
        self.assertEqual((doc["tzipsize"], doc["tchksum"], doc["pubdate"]),
                         (zip_total, signed - (1 << 32) if signed >= 1 << 31 else signed,
                          int(BASE_TIME) + 3600 * (len(FILES) - 1)))
        uninstall = [(d["path"], [f["name"] for f in d["files"]]) for d in doc["uninstall"]]
        self.assertEqual(uninstall, [("\\data", ["old.txt"]), ("C:\\WINDOWS\\Fonts", ["x.ttf"])])

    def test_check_finds_exactly_the_changed_file(self):
        self.publish()
        r = ok("hul", "check", self.hul(), "--dir", self.src)
        self.assertIn("%d files, 0 need an update" % len(FILES), r.stdout)

        def change(path, how):
            t = os.stat(path).st_mtime
            if how == "remove":
                return os.remove(path)
            data = Path(path).read_bytes()
            if how == "grow":
                write(path, data + b"x")
            elif how == "byte":
                write(path, bytes([(data[0] + 1) % 256]) + data[1:])
            set_time(path, t + (how if isinstance(how, int) else 0))

        cases = [  # (file, change (a number: seconds the time moves), expected code or 0)
            ("game.exe", "byte", 8),
            ("data/readme.txt", "byte", 0),  # only programs are summed
            ("data/img/a.bin", "grow", 2),
            ("empty.dat", "grow", 2),
            ("lib.DLL", "remove", 1),
            ("data/img/a.bin", 60, 4),  # the minute counts, the seconds do not
            ("data/img/a.bin", -60, 4),
            ("data/img/a.bin", 2, 0),
        ]
        for rel, how, code in cases:
            with self.subTest(file=rel, code=code):
                work = os.path.join(self.tmp, "work")
                shutil.rmtree(work, ignore_errors=True)
                shutil.copytree(self.src, work)  # copies keep their times
                change(os.path.join(work, rel), how)
                r = run("hul", "check", self.hul(), "--dir", work)
                lines = [tuple(l.split("\t")[:2]) for l in r.stdout.splitlines() if "\t" in l]
                expected = [(str(code), "\\" + rel.replace("/", "\\"))] if code else []
                self.assertEqual((r.returncode, lines), (1 if code else 0, expected), r.stdout)

    def test_older_layout_and_refusals(self):
        self.publish("--version", "1.0.0", package="OLD")
        self.assertEqual(sorted(os.listdir(os.path.join(self.root, "dist", "OLD"))),
                         sorted(os.path.basename(r) + ".zip" for r in FILES))
        doc = json.loads(ok("hul", "dump", self.hul("OLD")).stdout)
        self.assertEqual((doc["version"], doc["newer_layout"]), ("1.0.0", False))
        # Two files sharing a name cannot lie side by side in the older layout.
        shutil.copy(os.path.join(self.src, "game.exe"), os.path.join(self.src, "data", "GAME.exe"))
        self.publish("--version", "1.0.0", package="DUP", code=1)
        # A comma would end the name in the list; a time a zip cannot carry
        # would make the starter fetch the file on every run (the unpacked file
        # gets the zip's time). Both are refused before anything is written.
        bad = os.path.join(self.tmp, "bad")
        write(os.path.join(bad, "a,b.txt"), b"")
        self.publish(package="BAD", src=bad, code=1)
        os.remove(os.path.join(bad, "a,b.txt"))
        write(os.path.join(bad, "old.txt"), b"")
        set_time(os.path.join(bad, "old.txt"), time.mktime((1975, 6, 1, 12, 0, 0, 0, 0, -1)))
        self.publish(package="OLDTIME", src=bad, code=1)
        for package in ("DUP", "BAD", "OLDTIME"):
            self.assertFalse(os.path.exists(os.path.join(self.root, "dist", package)), package)
            self.assertFalse(os.path.exists(self.hul(package)), package)

    def test_setup_archive_starter_and_the_same_tree_twice(self):
        exe = os.path.join(self.tmp, "LdStarter.exe")
        write(exe, b"MZ starter")
        extra = ("--setup", "/redist/pack.zip=" + os.path.join(self.src, "data"), "--uninstall",
                 "gone.txt", "--popup", "--starter", exe, "--starter-version", "19.0.7.15")
        self.publish(*extra)
        first = tree(self.root)
        time.sleep(1.1)  # a clock that leaked into the output would now differ
        self.publish(*extra)
        self.assertEqual(tree(self.root), first)
        archive = os.path.join(self.root, "dist", "TABLA", "redist", "pack.zip")
        with zipfile.ZipFile(archive) as z:
            self.assertEqual(sorted(z.namelist()), ["img/a.bin", "readme.txt"])
            self.assertEqual(z.read("img/a.bin"), FILES["data/img/a.bin"])
        (setup,) = json.loads(ok("hul", "dump", self.hul()).stdout)["setup_install"]
        size = os.path.getsize(archive)
        self.assertEqual((setup["path"], setup["files"][0]["name"], setup["files"][0]["size"],
                          setup["files"][0]["zipsize"]), ("\\redist", "pack.zip", size, size))
        self.assertEqual(tree(os.path.join(self.root, "dist", "ldstart")),
                         {"ldstarter_verinfo.dat": b"19.0.7.15\r\n", "ldstarter.exe": b"MZ starter"})
        starter = ("publish", "--to", self.root, "--starter", exe, "--starter-version")
        self.assertEqual(run(*starter, "1.2.3").returncode, 1)
        # The alpha zone's servers keep the starter under another root; a root
        # outside the known ones is refused rather than written anywhere.
        ok(*starter, "19.0.7.16", "--starter-dist", "ld2005/dist")
        self.assertEqual(Path(self.root, "ld2005/dist/ldstart/ldstarter_verinfo.dat").read_bytes(),
                         b"19.0.7.16\r\n")
        self.assertEqual(run(*starter, "1.2.3.4", "--starter-dist", "../x").returncode, 2)
        self.assertFalse(os.path.exists(os.path.join(self.tmp, "x")))

    def test_catalogue_entries(self):
        ini = os.path.join(self.root, "hul", "newhul", "gamekind.ini")

        def catalogue(game):
            return json.loads(ok("catalogue", "dump", ini, "--game", game).stdout)

        self.publish("--base", "TABLA", "--base", "flbaseex", "--popup", "--no-base2005",
                     "--shortcut-url", "http://game/x", "--shortcut-icon", "/img/x.ico")
        self.publish("--base", "tbbase", "--companion", "--companion-file", "Va.exe",
                     package="RUNNER")
        c = catalogue("TABLA")
        self.assertEqual((c["bases"]["TABLA"], c["bases"]["FLORAEX"], c["popup"], c["no_base2005"],
                          c["packages"], c["shortcut"]["url"], c["shortcut"]["icon"]),
                         (["TABLA", "RUNNER"], ["TABLA"], True, True,
                          ["TABLA", "tbbase", "flbaseex"], "http://game/x", "img\\x.ico"))
        r = catalogue("RUNNER")
        self.assertEqual((r["companion"], r["packages"]),
                         ({"file": "Va.exe", "all": False, "games": ["RUNNER"]},
                          ["RUNNER", "base2005", "tbbase"]))
        before = Path(ini).read_bytes()
        self.publish("--no-popup", "--base2005")
        c = catalogue("TABLA")
        self.assertEqual((c["popup"], c["no_base2005"]), (False, False))
        self.publish("--popup", "--no-base2005")  # back as it was, byte for byte
        self.assertEqual(Path(ini).read_bytes(), before)
        self.publish("--base", "NOSUCH", code=1)


if __name__ == "__main__":
    unittest.main()
