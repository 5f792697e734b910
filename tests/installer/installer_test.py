"""ManCpLdStarter under wine64, driven through its window with ui_probe and
fed by `ldtool serve` on loopback: version check against the published
starter, replacing an existing starter, a starter that cannot be deleted,
and the stop question.

Environment (set by tests/installer/CMakeLists.txt): WINE_RUN, INSTALLER,
UI_PROBE, HOLD_OPEN, CARRIED_STARTER, INSTALLER_VERSION, LDTOOL.
LD_TEST_LANGUAGE=ko runs under a Korean locale (default: English).
LD_INSTALLER_SHOTS=DIR saves a picture of every state there as
installer_<state>.bmp (scripts/screenshots_installer.sh makes PNGs of them).
"""
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

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
    NO_DELETE = "루드스타터를 삭제할 수 없습니다. [21_%d]\\n프로그램이 실행중이 아닌지 확인해주세요."
else:
    TITLE, ASK = "LudStarter Manual Setup", "Stop the installation?"
    READY, DONE = ("The LudStarter manual setup program is ready to install.",
                   "The installation completed successfully.")
    OUTDATED = "This version is outdated. Please get the latest version."
    NO_DELETE = "The LudStarter cannot be deleted. [21_%d]\\nMake sure the program is not running."
ERROR_SHARING_VIOLATION = 32
UNREACHABLE = "127.0.0.1:1"


def wine(*args, timeout=60, check=True, stdin=b""):
    # Output goes through files, not pipes: a Wine server that this call
    # starts inherits them and outlives the call.
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        r = subprocess.run([WINE_RUN, *args], input=stdin, stdout=out, stderr=err,
                           env=CHILD_ENV, timeout=timeout)
        out.seek(0)
        err.seek(0)
        text = out.read().decode("utf-8", "replace")
        if check and r.returncode != 0:
            raise AssertionError("%s -> %d\n%s%s" % (args, r.returncode, text,
                                                      err.read().decode("utf-8", "replace")))
    return text


def probe(*args, check=True):
    # Through ui_probe's script input: UTF-8 there reaches it unchanged,
    # while Wine converts command-line arguments by the Unix locale, which
    # the machine may not have (Korean texts would not survive).
    line = " ".join('"%s"' % a for a in args) + "\n"
    return wine(UI_PROBE, "-", timeout=40, check=check, stdin=line.encode("utf-8"))


def windows_path(unix):
    return wine("winepath", "-w", unix).strip()


def unix_path(windows):
    return wine("winepath", "-u", windows).strip()


def version_text(delta):
    v = VERSION[:]
    v[3] += delta
    return ".".join(str(p) for p in v)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def bmp_pixels(path):
    """(width, height, pixel(x, y) -> (r, g, b)) of a 24-bit bottom-up BMP."""
    data = read(path)
    offset = int.from_bytes(data[10:14], "little")
    width = int.from_bytes(data[18:22], "little")
    height = int.from_bytes(data[22:26], "little")
    row = (width * 3 + 3) & ~3

    def pixel(x, y):
        at = offset + (height - 1 - y) * row + x * 3
        return data[at + 2], data[at + 1], data[at]
    return width, height, pixel


class Installer:
    """One run of the installer from a folder of its own, with its own
    "ldstarter.ini" naming the download hosts."""

    def __init__(self, folder, real, alpha=UNREACHABLE):
        shutil.copy(INSTALLER, folder)
        with open(os.path.join(folder, "ldstarter.ini"), "w", newline="\r\n") as f:
            f.write("[servers]\nreal_download=%s\nalpha_download=%s\n" % (real, alpha))
        self.process = subprocess.Popen([WINE_RUN, os.path.join(folder, "ManCpLdStarter.exe")],
                                        cwd=folder, env=CHILD_ENV, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.window = probe("wait", "title:" + TITLE, "20000").strip()

    def controls(self):
        """{id: (visible, text)} of the dialog's controls."""
        found = {}
        for line in probe("list", self.window).splitlines():
            m = re.match(r"id=(\d+) class=\S+ visible=(\d) .* text=(.*)$", line)
            if m:
                found[int(m.group(1))] = (m.group(2) == "1", m.group(3))
        return found

    def state_text(self):
        return self.controls()[1003][1]

    def click(self, *controls):
        """Clicks one control after the other within a few microseconds (one
        probe run), so the dialog gets them back to back."""
        script = "".join("click %s %d\n" % (self.window, c) for c in controls)
        wine(UI_PROBE, "-", timeout=40, stdin=script.encode())

    def wait_final(self):
        """The state text once only the close button is left (at most 30 s)."""
        deadline = time.time() + 30
        while time.time() < deadline:
            c = self.controls()
            if c[1002][0] and not c[1000][0] and not c[1001][0]:
                return c[1003][1]
            time.sleep(0.2)
        raise AssertionError("the installer did not finish: %s" % self.controls())

    def shot(self, name):
        if SHOTS:
            os.makedirs(SHOTS, exist_ok=True)
            time.sleep(0.3)  # let the last repaint land
            probe("shot", self.window, windows_path(os.path.join(SHOTS, name + ".bmp")))

    def picture(self, path):
        probe("shot", self.window, windows_path(path))
        return bmp_pixels(path)

    def close(self):
        if self.process.poll() is None:
            probe("close", self.window, check=False)
            probe("gone", self.window, "10000", check=False)
        try:
            self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


class InstallerTest(unittest.TestCase):
    @classmethod
    def start_server(cls, name, *faults):
        """`ldtool serve` of the published tree; returns its address."""
        out = open(os.path.join(cls.tmp, name + ".out"), "w+")
        args = [LDTOOL, "serve", "--root", cls.root, "--port", "0", "--exit-after", "900",
                "--log", os.path.join(cls.tmp, name + ".jsonl")]
        for fault in faults:
            args += ["--fault", fault]
        server = subprocess.Popen(args, stdout=out, stderr=subprocess.STDOUT)
        cls.servers.append((server, out))
        for _ in range(100):
            out.seek(0)
            m = re.search(r"^listening on (127\.0\.0\.1:\d+)", out.read(), re.M)
            if m:
                return m.group(1)
            time.sleep(0.1)
        raise RuntimeError("ldtool serve did not start")

    @classmethod
    def setUpClass(cls):
        # A Wine session begun without a display (wineboot of a new prefix)
        # keeps every window off the screen; the prefix is this test's alone
        # (RESOURCE_LOCK), so end whatever session is left and start afresh.
        prefix = ENV.get("LD_WINEPREFIX") or re.search(
            r'LD_WINEPREFIX:-([^}]*)\}', open(WINE_RUN).read()).group(1)
        subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=dict(ENV, WINEPREFIX=prefix),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        subprocess.run(["/usr/lib/wine/wineserver", "-w"], env=dict(ENV, WINEPREFIX=prefix),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        cls.tmp = tempfile.mkdtemp(prefix="ld_installer.")
        cls.root = os.path.join(cls.tmp, "root")
        os.mkdir(cls.root)
        cls.servers = []
        cls.addr = cls.start_server("requests")
        cls.log = os.path.join(cls.tmp, "requests.jsonl")
        # A server slow to answer the version file keeps a run in its version
        # check long enough for the stop question to come during the run.
        cls.slow_addr = cls.start_server(
            "slow", "delay:2000:/dist/ldstart/ldstarter_verinfo.dat")
        appdata = wine("cmd", "/c", "echo", "%APPDATA%").strip()
        cls.data_folder = os.path.join(unix_path(appdata), "Ludoria")
        cls.target = os.path.join(cls.data_folder, "ldstarter.exe")
        cls.version_temp = os.path.join(unix_path(wine("cmd", "/c", "echo", "%TEMP%").strip()),
                                        "ldstarter_verinfo.dat")
        cls.alpha_marker = os.path.join(unix_path(wine("cmd", "/c", "echo", "%SystemDrive%")
                                                  .strip() + "\\"), "_ldstarter")
        cls.carried = read(CARRIED)

    @classmethod
    def tearDownClass(cls):
        for server, out in cls.servers:
            server.terminate()
            server.wait(timeout=10)
            out.close()
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def setUp(self):
        self.folder = tempfile.mkdtemp(dir=self.tmp)
        shutil.rmtree(self.data_folder, ignore_errors=True)
        shutil.rmtree(os.path.join(self.root, "dist"), ignore_errors=True)
        shutil.rmtree(os.path.join(self.root, "ld2005"), ignore_errors=True)
        self.runs = []

    def tearDown(self):
        for run in self.runs:
            run.close()
        self.runs = []
        if os.path.isdir(self.alpha_marker):
            os.rmdir(self.alpha_marker)

    def publish(self, delta, dist="dist"):
        subprocess.run([LDTOOL, "publish", "--to", self.root, "--starter", CARRIED,
                        "--starter-version", version_text(delta), "--starter-dist", dist],
                       check=True, capture_output=True, timeout=60)

    def start(self, real=None, alpha=UNREACHABLE):
        run = Installer(self.folder, real or self.addr, alpha)
        self.runs.append(run)
        return run

    def attributes(self, path):
        """The attribute letters `attrib` shows for a file."""
        line = wine("cmd", "/c", "attrib", windows_path(path)).strip()
        return set(line[:line.index(":") - 1].replace(" ", ""))

    def assert_installed(self, run):
        self.assertEqual(run.wait_final(), DONE)
        self.assertEqual(read(self.target), self.carried, "not the carried starter")
        self.assertIn("H", self.attributes(self.target))
        self.assertIn("H", self.attributes(self.data_folder))

    def requests(self):
        with open(self.log, encoding="utf-8") as f:
            return f.read()

    def check_version_case(self, delta, zone, outcome):
        real, alpha = self.addr, UNREACHABLE
        if zone == "alpha":
            os.makedirs(self.alpha_marker, exist_ok=True)
            real, alpha = UNREACHABLE, self.addr
        if delta is not None:
            self.publish(delta, "dist" if zone == "real" else "ld2005/dist")
        run = self.start(real=real if delta is not None else UNREACHABLE, alpha=alpha)
        self.assertEqual(run.state_text(), READY)
        if delta == 0:
            run.shot("installer_ready")
        run.click(1000)
        if outcome == "outdated":
            self.assertEqual(run.wait_final(), OUTDATED)
            self.assertFalse(os.path.exists(self.target), "written although outdated")
            if zone == "real":
                run.shot("installer_outdated")
        else:
            self.assert_installed(run)
            if delta == 0:
                run.shot("installer_done")
        self.assertFalse(os.path.exists(self.version_temp), "version file left behind")

    def test_published_version_decides(self):
        # (published version minus own, zone, outcome); an unreachable
        # server cannot say, so the installation goes on.
        cases = [(+1, "real", "outdated"), (0, "real", "installed"),
                 (-1, "real", "installed"), (None, "real", "installed"),
                 (+1, "alpha", "outdated")]
        for delta, zone, outcome in cases:
            with self.subTest(delta=delta, zone=zone):
                self.setUp()
                try:
                    self.check_version_case(delta, zone, outcome)
                finally:
                    self.tearDown()
        log = self.requests()
        self.assertIn('"path":"/ld2005/dist/ldstart/ldstarter_verinfo.dat"', log)
        self.assertIn('"User-Agent":"MANUAL_INSTALL_LDSTARTER"', log)

    def test_existing_hidden_read_only_starter_is_replaced(self):
        os.makedirs(self.data_folder)
        with open(self.target, "wb") as f:
            f.write(b"MZ an older starter")
        for flag in ("+h", "+r"):  # Wine's attrib takes one flag a call
            wine("cmd", "/c", "attrib", flag, windows_path(self.target))
        self.assertTrue({"H", "R"} <= self.attributes(self.target))
        run = self.start()
        run.click(1000)
        self.assert_installed(run)

    def test_starter_that_cannot_be_deleted(self):
        os.makedirs(self.data_folder)
        old = b"MZ a running starter"
        with open(self.target, "wb") as f:
            f.write(old)
        holder = subprocess.Popen([WINE_RUN, HOLD_OPEN, windows_path(self.target), "60"],
                                  env=CHILD_ENV, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        try:
            self.assertEqual(holder.stdout.readline().strip(), b"held")
            holder.stdout.close()
            run = self.start()
            run.click(1000)
            self.assertEqual(run.wait_final(), NO_DELETE % ERROR_SHARING_VIOLATION)
            run.shot("installer_failed")
        finally:
            holder.kill()
            holder.wait()
        self.assertEqual(read(self.target), old)

    def test_stop_question(self):
        # The stop click comes while the worker waits for the slow server; the
        # worker then holds before touching the data folder until answered.
        for answer in ("no", "yes"):
            with self.subTest(answer=answer):
                self.tearDown()
                shutil.rmtree(self.data_folder, ignore_errors=True)
                run = self.start(real=self.slow_addr)
                run.click(1000)
                if answer == "no":
                    run.shot("installer_installing")  # within the server's delay
                run.click(1001)
                if answer == "no":
                    time.sleep(3)  # past the server's delay
                    run.shot("installer_stop_question")
                    held = read(self.target) if os.path.exists(self.target) else b""
                    self.assertTrue(held != self.carried, "the worker went on during the question")
                    probe("answer", ASK, "no", "15000")
                    self.assert_installed(run)
                else:
                    probe("answer", ASK, "yes", "15000")
                    probe("gone", run.window, "15000")
                    self.assertFalse(os.path.exists(self.target), "a stopped run left a starter")

    def test_button_looks(self):
        # Face pixels of the install button (left edge, mid-height) in its
        # normal, hovered and disabled images; the strip's key colour must
        # never reach the screen.
        teal, hover, grey, key = (0x1F, 0xA6, 0xA0), (0x27, 0xC2, 0xBA), (0x8A, 0x94, 0xA6), (0, 0, 255)
        run = self.start(real=self.slow_addr)
        path = os.path.join(self.folder, "look.bmp")

        def face():
            time.sleep(0.5)
            width, height, pixel = run.picture(path)
            self.assertFalse(any(pixel(x, y) == key for y in range(210, 246)
                                 for x in range(120, 290)), "transparent colour drawn")
            return pixel(129 + 4, 214 + 14)
        self.assertEqual(face(), teal)
        probe("hover", run.window, "1000")
        self.assertEqual(face(), hover)
        run.click(1000)
        self.assertEqual(face(), grey)  # while the slow server holds the run
        run.wait_final()


if __name__ == "__main__":
    unittest.main(verbosity=2)
