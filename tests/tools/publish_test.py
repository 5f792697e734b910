"""ldtool publish and ldtool hul check: a generated game folder goes through
publish, the list is read back with `hul dump`, and the starter's file check
(`hul check`) must find the source folder up to date and each kind of change
as exactly one file with the right code. Ends with the tree served on
loopback and fetched by the addresses the starter forms."""

import json
import os
import shutil
import time
import unittest
import urllib.request
import zipfile

from serve_test import Server
from tool_support import run, temp_dir

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


def ldtool(*args, check=True):
    r = run(*args, text=True)
    if check and r.returncode != 0:
        raise AssertionError("ldtool %s -> %d\n%s%s" % (args, r.returncode, r.stdout, r.stderr))
    return r


def make_folder(path):
    for i, (rel, data) in enumerate(sorted(FILES.items())):
        full = os.path.join(path, rel)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(data)
        t = BASE_TIME + 3600 * i  # a different hour each
        os.utime(full, (t, t))


def tree(root):
    out = {}
    for dirpath, _, names in os.walk(root):
        for n in names:
            full = os.path.join(dirpath, n)
            with open(full, "rb") as f:
                out[os.path.relpath(full, root)] = f.read()
    return out


def list_dir(rel):
    d = os.path.dirname(rel)
    return "\\" + d.replace("/", "\\") if d else "\\"


class PublishTest(unittest.TestCase):
    def setUp(self):
        self.tmp = temp_dir(self)
        self.src = os.path.join(self.tmp.name, "src")
        self.root = os.path.join(self.tmp.name, "root")
        make_folder(self.src)

    def publish(self, *extra, package="TABLA", src=None, check=True):
        return ldtool("publish", "--package", package, "--from", src or self.src,
                      "--to", self.root, *extra, check=check)

    def hul(self, package="TABLA"):
        return os.path.join(self.root, "hul", "newhul", package + ".hul")

    def dump(self, package="TABLA"):
        if "hul dump" not in ldtool("--help").stdout:
            self.skipTest("ldtool hul dump is not built")
        r = ldtool("hul", "dump", self.hul(package), check=False)
        self.assertEqual(r.returncode, 0, r.stderr)
        return json.loads(r.stdout)

    def test_list_and_zips_describe_the_folder(self):
        self.publish("--uninstall", "/data/old.txt", "--uninstall", "<WINDOWS>/Fonts/x.ttf")
        doc = self.dump()
        self.assertEqual((doc["prjname"], doc["version"], doc["newer_layout"]),
                         ("TABLA", "1.5.0", True))
        listed = {}
        for d in doc["install"]:
            for f in d["files"]:
                listed[(d["path"], f["name"])] = f
        self.assertEqual(len(listed), len(FILES))
        zip_total = checksum_total = 0
        for rel, data in FILES.items():
            with self.subTest(file=rel):
                f = listed[(list_dir(rel), os.path.basename(rel))]
                mtime = os.stat(os.path.join(self.src, rel)).st_mtime
                zpath = os.path.join(self.root, "dist", "TABLA", rel + ".zip")
                self.assertEqual((f["size"], f["checksum"], f["time"], f["zipsize"]),
                                 (len(data), sum(data) & 0xFFFFFFFF, int(mtime),
                                  os.path.getsize(zpath)))
                with zipfile.ZipFile(zpath) as z:
                    (info,) = z.infolist()
                    self.assertEqual(info.filename, os.path.basename(rel))
                    self.assertEqual(z.read(info), data)
                    lt = time.localtime(mtime)
                    self.assertEqual(info.date_time, (*lt[:5], lt[5] // 2 * 2))
                zip_total += f["zipsize"]
                checksum_total += f["checksum"]
        self.assertEqual(doc["tfileno"], len(FILES))
        self.assertEqual(doc["tzipsize"], zip_total)
        signed = checksum_total & 0xFFFFFFFF
        self.assertEqual(doc["tchksum"], signed - (1 << 32) if signed >= 1 << 31 else signed)
        self.assertEqual(doc["pubdate"], int(BASE_TIME) + 3600 * (len(FILES) - 1))
        uninstall = [(d["path"], [f["name"] for f in d["files"]]) for d in doc["uninstall"]]
        self.assertEqual(uninstall, [("\\data", ["old.txt"]), ("C:\\WINDOWS\\Fonts", ["x.ttf"])])

    def test_check_finds_exactly_the_changed_file(self):
        self.publish()
        r = ldtool("hul", "check", self.hul(), "--dir", self.src)
        self.assertIn("%d files, 0 need an update" % len(FILES), r.stdout)

        def same_size_bytes(p):
            with open(p, "r+b") as f:
                b = f.read(1)
                f.seek(0)
                f.write(bytes([(b[0] + 1) % 256]))

        def grow(p):
            with open(p, "ab") as f:
                f.write(b"x")

        def keeping_time(write):
            def change(p):
                st = os.stat(p)
                write(p)
                os.utime(p, (st.st_atime, st.st_mtime))
            return change

        def shift(seconds):
            def change(p):
                t = os.stat(p).st_mtime + seconds
                os.utime(p, (t, t))
            return change

        cases = [  # (file, change, expected code or 0)
            ("game.exe", keeping_time(same_size_bytes), 8),
            ("data/readme.txt", keeping_time(same_size_bytes), 0),  # only programs are summed
            ("data/img/a.bin", keeping_time(grow), 2),
            ("empty.dat", keeping_time(grow), 2),
            ("lib.DLL", os.remove, 1),
            ("data/img/a.bin", shift(60), 4),  # the minute counts, the seconds do not
            ("data/img/a.bin", shift(-60), 4),
            ("data/img/a.bin", shift(2), 0),
        ]
        for rel, change, code in cases:
            with self.subTest(file=rel, code=code):
                work = os.path.join(self.tmp.name, "work")
                shutil.rmtree(work, ignore_errors=True)
                shutil.copytree(self.src, work)  # copies keep their times
                change(os.path.join(work, rel))
                self.expect_check(work, rel, code)

    def expect_check(self, folder, rel, code):
        r = ldtool("hul", "check", self.hul(), "--dir", folder, check=False)
        lines = [l.split("\t") for l in r.stdout.splitlines() if "\t" in l]
        if code == 0:
            self.assertEqual((r.returncode, lines), (0, []), r.stdout)
        else:
            self.assertEqual(r.returncode, 1, r.stdout)
            self.assertEqual([(l[0], l[1]) for l in lines],
                             [(str(code), "\\" + rel.replace("/", "\\"))])

    def test_publishing_twice_gives_the_same_tree(self):
        extra = ("--setup", "/redist/pack.zip=" + os.path.join(self.src, "data"),
                 "--uninstall", "gone.txt", "--base", "TABLA", "--popup")
        self.publish(*extra)
        first = tree(self.root)
        time.sleep(1.1)  # a clock that leaked into the output would now differ
        self.publish(*extra)
        self.assertEqual(tree(self.root), first)

    def test_older_layout_and_refusals(self):
        self.publish("--version", "1.0.0", package="OLD")
        names = sorted(os.listdir(os.path.join(self.root, "dist", "OLD")))
        self.assertEqual(names, sorted(os.path.basename(r) + ".zip" for r in FILES))
        # Two files sharing a name cannot lie side by side in the older layout.
        os.makedirs(os.path.join(self.src, "more"))
        shutil.copy(os.path.join(self.src, "game.exe"), os.path.join(self.src, "more", "GAME.exe"))
        r = self.publish("--version", "1.0.0", package="DUP", check=False)
        self.assertEqual(r.returncode, 1)
        self.assertFalse(os.path.exists(os.path.join(self.root, "dist", "DUP")))
        # A comma would end the name in the list: refused before anything is written.
        bad = os.path.join(self.tmp.name, "bad")
        os.makedirs(bad)
        open(os.path.join(bad, "a,b.txt"), "wb").close()
        r = self.publish(package="BAD", src=bad, check=False)
        self.assertEqual(r.returncode, 1)
        self.assertFalse(os.path.exists(os.path.join(self.root, "dist", "BAD")))
        self.assertFalse(os.path.exists(self.hul("BAD")))
        # A time a zip cannot carry would make the starter fetch the file on
        # every run (the unpacked file gets the zip's time).
        os.remove(os.path.join(bad, "a,b.txt"))
        old = os.path.join(bad, "old.txt")
        open(old, "wb").close()
        t = time.mktime((1975, 6, 1, 12, 0, 0, 0, 0, -1))
        os.utime(old, (t, t))
        r = self.publish(package="BAD", src=bad, check=False)
        self.assertEqual(r.returncode, 1)
        self.assertFalse(os.path.exists(self.hul("BAD")))

    def test_setup_archive_and_starter(self):
        exe = os.path.join(self.tmp.name, "LdStarter.exe")
        with open(exe, "wb") as f:
            f.write(b"MZ starter")
        self.publish("--setup", "/redist/pack.zip=" + os.path.join(self.src, "data"),
                     "--starter", exe, "--starter-version", "19.0.7.15")
        archive = os.path.join(self.root, "dist", "TABLA", "redist", "pack.zip")
        with zipfile.ZipFile(archive) as z:
            self.assertEqual(sorted(z.namelist()), ["img/a.bin", "readme.txt"])
            self.assertEqual(z.read("img/a.bin"), FILES["data/img/a.bin"])
        doc = self.dump()
        (setup,) = doc["setup_install"]
        self.assertEqual(setup["path"], "\\redist")
        (f,) = setup["files"]
        self.assertEqual((f["name"], f["size"], f["zipsize"]),
                         ("pack.zip", os.path.getsize(archive), os.path.getsize(archive)))
        ldstart = os.path.join(self.root, "dist", "ldstart")
        self.assertEqual(tree(ldstart), {"ldstarter_verinfo.dat": b"19.0.7.15\r\n",
                                         "ldstarter.exe": b"MZ starter"})
        r = ldtool("publish", "--to", self.root, "--starter", exe, "--starter-version", "1.2.3",
                   check=False)
        self.assertEqual(r.returncode, 1)
        # The alpha zone's servers keep the starter under another root; a root
        # outside the known ones is refused rather than written anywhere.
        ldtool("publish", "--to", self.root, "--starter", exe, "--starter-version", "19.0.7.16",
               "--starter-dist", "ld2005/dist")
        with open(os.path.join(self.root, "ld2005", "dist", "ldstart",
                               "ldstarter_verinfo.dat"), "rb") as v:
            self.assertEqual(v.read(), b"19.0.7.16\r\n")
        r = ldtool("publish", "--to", self.root, "--starter", exe, "--starter-version", "1.2.3.4",
                   "--starter-dist", "../x", check=False)
        self.assertEqual(r.returncode, 2)
        self.assertFalse(os.path.exists(os.path.join(self.tmp.name, "x")))

    def test_catalogue_entries(self):
        ini = os.path.join(self.root, "hul", "newhul", "gamekind.ini")
        self.publish("--base", "TABLA", "--base", "flbaseex", "--popup", "--no-base2005",
                     "--shortcut-url", "http://game/x", "--shortcut-icon", "/img/x.ico")
        self.publish("--base", "tbbase", "--companion", "--companion-file", "Va.exe",
                     package="RUNNER")

        def catalogue(game):
            if "catalogue dump" not in ldtool("--help").stdout:
                self.skipTest("ldtool catalogue dump is not built")
            r = ldtool("catalogue", "dump", ini, "--game", game, check=False)
            self.assertEqual(r.returncode, 0, r.stderr)
            return json.loads(r.stdout)

        c = catalogue("TABLA")
        self.assertEqual((c["bases"]["TABLA"], c["bases"]["FLORAEX"], c["popup"], c["no_base2005"]),
                         (["TABLA", "RUNNER"], ["TABLA"], True, True))
        self.assertEqual(c["packages"], ["TABLA", "tbbase", "flbaseex"])
        self.assertEqual((c["shortcut"]["url"], c["shortcut"]["icon"]),
                         ("http://game/x", "img\\x.ico"))
        r = catalogue("RUNNER")
        self.assertEqual(r["companion"], {"file": "Va.exe", "all": False, "games": ["RUNNER"]})
        self.assertEqual(r["packages"], ["RUNNER", "base2005", "tbbase"])
        with open(ini, "rb") as f:
            before = f.read()
        self.publish("--no-popup", "--base2005")
        c = catalogue("TABLA")
        self.assertEqual((c["popup"], c["no_base2005"]), (False, False))
        self.publish("--popup", "--no-base2005")
        with open(ini, "rb") as f:
            self.assertEqual(f.read(), before)
        r = self.publish("--base", "NOSUCH", check=False)
        self.assertEqual(r.returncode, 1)

    def test_served_tree_answers_the_starters_addresses(self):
        self.publish()
        server = Server(self.root)
        try:
            base = "http://127.0.0.1:%d" % server.port
            with urllib.request.urlopen(base + "/hul/newhul/TABLA.hul", timeout=10) as r:
                with open(self.hul(), "rb") as f:
                    self.assertEqual(r.read(), f.read())
            for rel in FILES:
                address = base + "/dist/TABLA/" + urllib.request.quote(rel) + ".zip"
                with urllib.request.urlopen(address, timeout=10) as r:
                    with open(os.path.join(self.root, "dist", "TABLA", rel + ".zip"), "rb") as f:
                        self.assertEqual(r.read(), f.read(), rel)
        finally:
            server.stop()


if __name__ == "__main__":
    unittest.main()
