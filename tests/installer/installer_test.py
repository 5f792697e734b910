# ManCpLdStarter under wine64, driven through its window with ui_probe and fed
# by `ldtool serve` on loopback: version check against the published starter,
# replacing an existing starter, a starter that cannot be deleted, the stop
# question and the button's images, one run per row of a table.
#
# Environment (set by tests/installer/CMakeLists.txt): WINE_RUN, INSTALLER,
# UI_PROBE, HOLD_OPEN, CARRIED_STARTER, INSTALLER_VERSION, LDTOOL.
# LD_TEST_LANGUAGE=ko runs under a Korean locale (default: English).
# LD_INSTALLER_SHOTS=DIR saves a picture of every state there as
# installer_<state>.bmp (scripts/screenshots_installer.sh makes PNGs of them).
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

ENV = os.environ
WINE_RUN, INSTALLER, UI_PROBE = ENV["WINE_RUN"], ENV["INSTALLER"], ENV["UI_PROBE"]
HOLD_OPEN, CARRIED, LDTOOL = ENV["HOLD_OPEN"], ENV["CARRIED_STARTER"], ENV["LDTOOL"]
VERSION = [int(p) for p in ENV["INSTALLER_VERSION"].split(".")]
SHOTS = ENV.get("LD_INSTALLER_SHOTS", "")
KOREAN = ENV.get("LD_TEST_LANGUAGE") == "ko"
LANG = "ko_KR.UTF-8" if KOREAN else "C.UTF-8"
CHILD_ENV = dict(ENV, LANG=LANG, LC_ALL=LANG)

if KOREAN:
    TITLE, ASK = "루드스타터 수동설치", "설치를 중지하시겠습니까?"
    READY, DONE = "루드스타터 수동설치 프로그램 설치를 시작합니다.", "설치가 정상적으로 완료되었습니다."
    OUTDATED = "버전이 낮으니 최신 버전을 다운받아서 설치하십시오."
    NO_DELETE = "루드스타터를 삭제할 수 없습니다. [21_32]\\n프로그램이 실행중이 아닌지 확인해주세요."
else:
    TITLE, ASK = "LudStarter Manual Setup", "Stop the installation?"
    READY, DONE = ("The LudStarter manual setup program is ready to install.",
                   "The installation completed successfully.")
    OUTDATED = "This version is outdated. Please get the latest version."
    NO_DELETE = "The LudStarter cannot be deleted. [21_32]\\nMake sure the program is not running."
UNREACHABLE = "127.0.0.1:1"
INSTALL, STOP, CLOSE, STATE = 1000, 1001, 1002, 1003


def wine(*args, timeout=60, check=True, stdin=b""):
    # Output goes through files, not pipes: a Wine server that this call
    # starts inherits them and outlives the call. On a loaded machine a Wine
    # program has, rarely, ended with 1 before printing anything; such a run
    # never reached the program's work (ui_probe prints why whenever one of
    # its commands fails, the shell commands here only look or set a flag),
    # so it runs once more.
    for _ in range(2):
        with tempfile.TemporaryFile() as out:
            r = subprocess.run([WINE_RUN, *args], input=stdin, stdout=out,
                               stderr=subprocess.STDOUT, env=CHILD_ENV, timeout=timeout)
            out.seek(0)
            text = out.read().decode("utf-8", "replace")
        if r.returncode == 0 or text.strip():
            break
    if check and r.returncode != 0:
        raise AssertionError("%s -> %d\n%s" % (args, r.returncode, text))
    return text


def probe(*lines, check=True):
    # Through ui_probe's script input: UTF-8 there reaches it unchanged, while
    # Wine converts command-line arguments by the Unix locale, which the
    # machine may not have. Several lines run back to back in one probe run.
    script = "".join(" ".join('"%s"' % a for a in line) + "\n" for line in lines)
    return wine(UI_PROBE, "-", timeout=40, check=check, stdin=script.encode("utf-8"))


PREFIX = ENV.get("LD_WINEPREFIX") or re.search(r'LD_WINEPREFIX:-([^}]*)\}',
                                                 open(WINE_RUN).read()).group(1)


def windows_path(unix):
    # A new prefix maps C: to its drive_c and Z: to the root; named here, a
    # path needs no Wine process (winepath) of its own.
    unix = os.path.realpath(unix)
    drive_c = os.path.realpath(os.path.join(PREFIX, "drive_c"))
    if os.path.commonpath([drive_c, unix]) == drive_c:
        return "C:" + unix[len(drive_c):].replace("/", "\\")
    return "Z:" + unix.replace("/", "\\")


OLD_STARTER = b"MZ an older starter"
TEAL, HOVER, GREY = (0x1F, 0xA6, 0xA0), (0x27, 0xC2, 0xBA), (0x8A, 0x94, 0xA6)
# (published version minus own or None, zone, before the run, final text,
# picture of the final state). Zone "down": no server answers, which cannot
# say the version is outdated. The alpha zone's server answers slowly.
CASES = [(+1, "real", None, OUTDATED, "outdated"), (0, "real", None, DONE, "done"),
         (-1, "real", "hidden", DONE, None), (None, "down", None, DONE, None),
         (+1, "alpha", "looks", OUTDATED, None), (None, "real", "held", NO_DELETE, "failed"),
         (None, "alpha", "stop no", DONE, None), (None, "alpha", "stop yes", None, None)]


class InstallerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # A Wine session begun without a display (wineboot of a new prefix)
        # keeps every window off the screen; the prefix is this test's alone
        # (RESOURCE_LOCK), so end whatever session is left and start afresh.
        for flag in ("-k", "-w"):
            subprocess.run(["/usr/lib/wine/wineserver", flag], env=dict(ENV, WINEPREFIX=PREFIX),
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        cls.tmp = tempfile.mkdtemp(prefix="ld_installer.")
        cls.root = os.path.join(cls.tmp, "root")
        os.mkdir(cls.root)
        # The late version file keeps a run in its version check long enough
        # for a click and a picture to come during the run, even on a busy
        # machine.
        cls.out = open(os.path.join(cls.tmp, "serve.out"), "w+")
        cls.server = subprocess.Popen(
            [LDTOOL, "serve", "--root", cls.root, "--port", "0", "--exit-after", "900", "--log",
             os.path.join(cls.tmp, "requests.jsonl"), "--fault",
             "delay:4000:/ld2005/dist/ldstart/ldstarter_verinfo.dat"],
            stdout=cls.out, stderr=subprocess.STDOUT)
        for _ in range(100):
            cls.out.seek(0)
            m = re.search(r"^listening on (127\.0\.0\.1:\d+)", cls.out.read(), re.M)
            if m:
                break
            time.sleep(0.1)
        cls.addr = m.group(1)

        def folder(variable):
            # A session's first programs may print nothing on a loaded machine; an
            # empty answer would make every path below relative.
            for _ in range(5):
                name = wine("cmd", "/c", "echo", variable).strip()
                path = wine("winepath", "-u", name).strip()
                if path.startswith("/"):
                    return path
                time.sleep(2)
            raise AssertionError("Wine did not name " + variable)
        cls.data_folder = os.path.join(folder("%APPDATA%"), "Ludoria")
        cls.target = os.path.join(cls.data_folder, "ldstarter.exe")
        cls.version_temp = os.path.join(folder("%TEMP%"), "ldstarter_verinfo.dat")
        cls.alpha_marker = os.path.join(folder("%SystemDrive%\\"), "_ldstarter")
        cls.carried = Path(CARRIED).read_bytes()

    @classmethod
    def tearDownClass(cls):
        cls.server.terminate()
        cls.server.wait(timeout=10)
        cls.out.close()
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def setUp(self):
        self.process = self.holder = None
        self.addCleanup(self.clean)

    def clean(self):
        if self.process and self.process.poll() is None:
            probe(("close", self.window), ("gone", self.window, "10000"), check=False)
        for process in filter(None, (self.process, self.holder)):
            if process.poll() is None:
                process.kill()
            process.wait(timeout=20)
        self.process = self.holder = None
        for path in (self.data_folder, os.path.join(self.root, "dist"),
                     os.path.join(self.root, "ld2005")):
            shutil.rmtree(path, ignore_errors=True)
        if os.path.isdir(self.alpha_marker):
            os.rmdir(self.alpha_marker)

    def start(self, real, alpha):
        # From a folder of its own, with its own "ldstarter.ini".
        folder = tempfile.mkdtemp(dir=self.tmp)
        shutil.copy(INSTALLER, folder)
        Path(folder, "ldstarter.ini").write_text(
            "[servers]\r\nreal_download=%s\r\nalpha_download=%s\r\n" % (real, alpha))
        self.process = subprocess.Popen([WINE_RUN, os.path.join(folder, "ManCpLdStarter.exe")],
                                        cwd=folder, env=CHILD_ENV, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.window = probe(("wait", "title:" + TITLE, "20000")).strip()

    def controls(self):
        # {id: (visible, text)}
        lines = probe(("list", self.window)).splitlines()
        found = (re.match(r"id=(\d+) class=\S+ visible=(\d) .* text=(.*)$", l) for l in lines)
        return {int(m.group(1)): (m.group(2) == "1", m.group(3)) for m in found if m}

    def wait_final(self):
        # The state text once only the close button is left.
        deadline = time.time() + 30
        while time.time() < deadline:
            c = self.controls()
            if c[CLOSE][0] and not c[INSTALL][0] and not c[STOP][0]:
                return c[STATE][1]
            time.sleep(0.2)
        raise AssertionError("the installer did not finish: %s" % self.controls())

    def shot(self, name, folder=SHOTS):
        # A 24-bit bottom-up picture of the window: pixel(x, y) -> (r, g, b).
        if not folder:
            return None
        os.makedirs(folder, exist_ok=True)
        time.sleep(0.3)  # let the last repaint land
        path = os.path.join(folder, "installer_%s.bmp" % name)
        probe(("shot", self.window, windows_path(path)))
        data = Path(path).read_bytes()
        offset, height = (int.from_bytes(data[at:at + 4], "little") for at in (10, 22))
        row = (int.from_bytes(data[18:22], "little") * 3 + 3) & ~3
        return lambda x, y: tuple(data[offset + (height - 1 - y) * row + x * 3 + i] for i in (2, 1, 0))

    def assert_face(self, colour):
        # The install button's face (left edge, mid-height); the strip's key
        # colour must never reach the screen.
        time.sleep(0.2)
        pixel = self.shot("look", self.tmp)
        self.assertEqual(pixel(133, 228), colour)
        self.assertNotIn((0, 0, 255), {pixel(x, y) for y in range(210, 246) for x in range(120, 290)})

    def attributes(self, path):
        line = wine("cmd", "/c", "attrib", windows_path(path)).strip()
        return set(line[:line.index(":") - 1].replace(" ", ""))

    def prepare(self, delta, zone, before):
        if zone == "alpha":
            os.makedirs(self.alpha_marker)
        if delta is not None:
            v = ".".join(map(str, VERSION[:3] + [VERSION[3] + delta]))
            subprocess.run([LDTOOL, "publish", "--to", self.root, "--starter", CARRIED,
                            "--starter-version", v, "--starter-dist",
                            "ld2005/dist" if zone == "alpha" else "dist"],
                           check=True, capture_output=True, timeout=60)
        if before in ("hidden", "held"):
            os.makedirs(self.data_folder)
            Path(self.target).write_bytes(OLD_STARTER)
        for flag in ("+h", "+r") if before == "hidden" else ():  # one flag a call
            wine("cmd", "/c", "attrib", flag, windows_path(self.target))
        if before == "held":  # as a running starter: open without sharing
            self.holder = subprocess.Popen([WINE_RUN, HOLD_OPEN, windows_path(self.target), "60"],
                                           env=CHILD_ENV, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL)
            for _ in range(300):  # it leaves a marker once the file is held
                if os.path.exists(self.target + ".held") or self.holder.poll() is not None:
                    break
                time.sleep(0.1)
            self.assertIsNone(self.holder.poll(), "the file was not held")

    def test_runs(self):
        for delta, zone, before, outcome, picture in CASES:
            with self.subTest(delta=delta, zone=zone, before=before):
                self.clean()
                self.prepare(delta, zone, before)
                self.start(self.addr if zone == "real" else UNREACHABLE,
                           self.addr if zone == "alpha" else UNREACHABLE)
                self.assertEqual(self.controls()[STATE][1], READY)
                if before == "looks":
                    self.assert_face(TEAL)
                    probe(("hover", self.window, str(INSTALL)))
                    self.assert_face(HOVER)
                if delta == 0:
                    self.shot("ready")
                probe(("click", self.window, str(INSTALL)))
                if before == "looks":
                    self.assert_face(GREY)  # while the server holds the run
                if before == "stop no":
                    # The stop click comes while the worker waits for the
                    # server; the worker then holds before touching the data
                    # folder until answered.
                    self.shot("installing")
                    probe(("click", self.window, str(STOP)))
                    time.sleep(5)  # past the server's delay
                    self.shot("stop_question")
                    self.assertFalse(os.path.exists(self.target), "went on during the question")
                    probe(("answer", ASK, "no", "15000"))
                if before == "stop yes":
                    probe(("click", self.window, str(STOP)))
                    probe(("answer", ASK, "yes", "15000"), ("gone", self.window, "15000"))
                else:
                    self.assertEqual(self.wait_final(), outcome)
                if picture:
                    self.shot(picture)
                if outcome == DONE:
                    self.assertEqual(Path(self.target).read_bytes(), self.carried, "not the carried starter")
                    self.assertIn("H", self.attributes(self.target))
                    self.assertIn("H", self.attributes(self.data_folder))
                elif before == "held":
                    self.assertEqual(Path(self.target).read_bytes(), OLD_STARTER)
                else:
                    self.assertFalse(os.path.exists(self.target), "a starter written")
                self.assertFalse(os.path.exists(self.version_temp), "version file left behind")
        log = Path(self.tmp, "requests.jsonl").read_text(encoding="utf-8")
        self.assertIn('"path":"/ld2005/dist/ldstart/ldstarter_verinfo.dat"', log)
        self.assertIn('"User-Agent":"MANUAL_INSTALL_LDSTARTER"', log)


if __name__ == "__main__":
    unittest.main(verbosity=2)
