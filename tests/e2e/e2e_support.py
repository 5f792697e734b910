"""What every end-to-end scenario of ldstarter shares: a fresh Wine prefix,
the loopback portal (`ldtool serve`) with a published game, the starter
placed in the prefix with its ldstarter.ini, the UI probe, and readers of the
request log, the registry and the game's record.

Every Wine run is bounded by a time limit; the portal stops by itself. The
caller runs all of it inside one virtual display (xvfb-run).
"""
import base64
import json
import os
import re
import shutil
import subprocess
import threading
import time

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
GAME_ID = "tabla"
LANGUAGE = "KOREAN"
INSTALL_ROOT = r"C:\LudoriaGames"
STARTER_DIR = r"C:\ldtest"


class Failure(Exception):
    pass


def b64(text):
    return base64.b64encode(text.encode()).decode()


def new_format_launch(member="tester01", game="Tabla", extra="&k401e=nyy"):
    return "ludoria://P=&P0=%s&P1=%s%s" % (b64(member), b64(game), extra)


class Tools:
    def __init__(self, ldtool, starter, game, probe, work):
        self.ldtool, self.starter, self.game, self.probe = ldtool, starter, game, probe
        self.hold = os.path.join(os.path.dirname(game), "file_holder.exe")
        self.work = work


class Scenario:
    def __init__(self, tools, name):
        self.tools = tools
        self.name = name
        self.dir = os.path.join(tools.work, name)
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)
        self.prefix = os.path.join(self.dir, "prefix")
        self.root = os.path.join(self.dir, "portal")
        os.makedirs(self.root)
        self.log = os.path.join(self.dir, "requests.jsonl")
        self.game_dir = os.path.join(self.dir, "game")
        self.portal = None
        self.addr = self.https_addr = None
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mshtml=d;mscoree=d")

    # --- the portal ---
    def start_portal(self, *faults):
        out = os.path.join(self.dir, "serve.out")
        args = [self.tools.ldtool, "serve", "--root", self.root, "--port", "0", "--log",
                self.log, "--exit-after", "600"]
        for fault in faults:
            args += ["--fault", fault]
        self.portal = subprocess.Popen(args, stdout=open(out, "w"), stderr=subprocess.STDOUT)
        for _ in range(100):
            text = open(out).read()
            m = re.search(r"^listening on (127\.0\.0\.1:\d+)", text, re.M)
            if m:
                self.addr = m.group(1)
                m = re.search(r"^https listening on (127\.0\.0\.1:\d+)", text, re.M)
                self.https_addr = m.group(1) if m else None
                return
            time.sleep(0.1)
        raise Failure("the portal did not start: " + open(out).read())

    def restart_portal(self, *faults):
        """Same port is not needed: the ini is written again."""
        self.stop_portal()
        self.start_portal(*faults)

    def stop_portal(self):
        if self.portal is not None:
            self.portal.terminate()
            self.portal.wait(10)
            self.portal = None

    def ldtool(self, *args):
        r = subprocess.run([self.tools.ldtool] + list(args), capture_output=True, text=True)
        if r.returncode != 0:
            raise Failure("ldtool %s: %s%s" % (" ".join(args), r.stdout, r.stderr))
        return r.stdout

    # --- the game ---
    def make_game(self, files=None):
        """The game folder: the recording program as tabla.exe plus data files."""
        os.makedirs(os.path.join(self.game_dir, "data"), exist_ok=True)
        shutil.copy(self.tools.game, os.path.join(self.game_dir, GAME_ID + ".exe"))
        files = files if files is not None else {
            "data/board.pak": os.urandom(150000),
            "data/rules.txt": b"three in a row\r\n",
        }
        for rel, data in files.items():
            self.write_game_file(rel, data)
        return files

    def write_game_file(self, rel, data):
        path = os.path.join(self.game_dir, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        os.utime(path, (1764585000, 1764585000))

    def publish(self, package=GAME_ID, source=None, *extra):
        self.ldtool("publish", "--to", self.root, "--package", package, "--from",
                    source or self.game_dir, "--downloadurl", "http://%s/dist" % self.addr,
                    *extra)

    def publish_starter(self, version, rollback=False):
        args = ["publish", "--to", self.root, "--starter", self.tools.starter,
                "--starter-version", version]
        if rollback:
            args.append("--rollback")
        self.ldtool(*args)

    # --- the prefix ---
    def win_path(self, path):
        """C:\\x\\y -> the host path inside the prefix."""
        drive, rest = path.split(":", 1)
        return os.path.join(self.prefix, "drive_" + drive.lower(), *rest.strip("\\").split("\\"))

    def ini_text(self, install_root=INSTALL_ROOT):
        host = self.addr
        https_port = self.https_addr.split(":")[1] if self.https_addr else "443"
        keys = ["real_download", "dev_download", "alpha_download", "outside_download",
                "real_game", "dev_game", "alpha_game", "portal", "tracebook", "real_steplog",
                "alpha_steplog", "real_plum", "alpha_plum", "dev_plum"]
        lines = ["[servers]"] + ["%s=%s" % (k, host) for k in keys]
        lines += ["plum_https_port=%s" % https_port, "[private]",
                  "DefaultInstallDir=%s" % install_root, ""]
        return "\r\n".join(lines)

    def place_starter(self, folder=STARTER_DIR):
        self.boot_prefix()
        target = self.win_path(folder)
        os.makedirs(target, exist_ok=True)
        shutil.copy(self.tools.starter, os.path.join(target, "ldstarter.exe"))
        self.write_ini(folder)
        return folder + "\\ldstarter.exe"

    def published_game(self, starter_version):
        """The usual start of a scenario: the portal up, the game published
        without base packages, a starter of `starter_version` published and
        one placed. Returns the game's files and the placed starter."""
        self.start_portal()
        files = self.make_game()
        self.publish(GAME_ID, None, "--no-base2005")
        self.publish_starter(starter_version)
        return files, self.place_starter()

    def write_ini(self, folder):
        target = self.win_path(folder)
        os.makedirs(target, exist_ok=True)
        with open(os.path.join(target, "ldstarter.ini"), "w", newline="") as f:
            f.write(self.ini_text())

    def boot_prefix(self):
        if os.path.exists(os.path.join(self.prefix, "system.reg")):
            return
        subprocess.run([WINE, "wineboot", "-i"], env=self.env, capture_output=True, timeout=120)
        subprocess.run([WINESERVER, "-w"], env=self.env, timeout=120)

    def temp_folder(self):
        """The user's temporary folder as the prefix's registry names it."""
        m = re.search(r'^"TEMP"="([^"]+)"', self.user_registry(), re.M)
        if not m:
            raise Failure("no temporary folder in the prefix")
        return self.win_path(m.group(1).replace("\\\\", "\\"))

    # --- runs ---
    def run_starter(self, program, argument, probe_script=None, timeout=150, env=None,
                    wait_all=True):
        """Runs the starter (and the probe script beside it); returns the
        starter's exit code and the probe's output."""
        run_env = dict(self.env, **(env or {}))
        # A list gives separate words on the command line (Wine quotes a
        # single argument that holds blanks).
        words = argument if isinstance(argument, list) else [argument]
        starter = subprocess.Popen([WINE, program] + [w for w in words if w is not None],
                                   env=run_env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        probe_out = {"text": "", "code": None}
        thread = None
        if probe_script is not None:
            def drive():
                r = subprocess.run([WINE, self.tools.probe, "-"], input=probe_script, env=run_env,
                                   capture_output=True, text=True, timeout=timeout)
                probe_out["text"], probe_out["code"] = r.stdout + r.stderr, r.returncode
            thread = threading.Thread(target=drive)
            thread.start()
        try:
            code = starter.wait(timeout)
        except subprocess.TimeoutExpired:
            self.kill_wine()
            raise Failure("the starter did not end within %d s" % timeout)
        if thread is not None:
            thread.join(timeout)
        # Let the clone or the game end and the registry reach its file
        # (not while another starter of the scenario still runs).
        if not wait_all:
            return (code - (1 << 32) if code >= (1 << 31) else code), probe_out
        try:
            subprocess.run([WINESERVER, "-w"], env=self.env, timeout=60)
        except subprocess.TimeoutExpired:
            self.kill_wine()
        return (code - (1 << 32) if code >= (1 << 31) else code), probe_out

    def probe(self, script, timeout=60):
        try:
            r = subprocess.run([WINE, self.tools.probe, "-"], input=script, env=self.env,
                               capture_output=True, text=True, timeout=timeout)
        except subprocess.TimeoutExpired:
            return -1, "the probe did not end within %d s" % timeout
        return r.returncode, r.stdout + r.stderr

    def kill_wine(self):
        subprocess.run([WINESERVER, "-k"], env=self.env, timeout=30)

    # --- what arrived ---
    def requests(self):
        if not os.path.exists(self.log):
            return []
        return [json.loads(line) for line in open(self.log, encoding="utf-8") if line.strip()]

    def paths(self, prefix=""):
        return [r["path"] for r in self.requests() if r["path"].startswith(prefix)]

    def mark(self):
        """Where the requests of the next run begin in the log."""
        return len(self.requests())

    def steps(self, since=0):
        steps = []
        for r in self.requests()[since:]:
            if r["path"] == "/log.html":
                m = re.search(r"[?&]step=(\d+)", r.get("target", ""))
                if m:
                    steps.append(int(m.group(1)))
        return steps

    def reports(self, since=0):
        return [r.get("body", "") for r in self.requests()[since:]
                if r["path"] == "/tracebook/v1/log"]

    def game_downloads(self):
        return [p for p in self.paths("/dist/") if not p.startswith("/dist/ldstart/")]

    def install_folder(self):
        return self.win_path(INSTALL_ROOT + "\\" + LANGUAGE)

    def game_starts(self):
        record = os.path.join(self.install_folder(), "started.txt")
        if not os.path.exists(record):
            return []
        lines = open(record, encoding="latin-1").read().splitlines()
        return [(lines[i][4:], lines[i + 1][8:]) for i in range(0, len(lines) - 1, 2)]

    def user_registry(self):
        path = os.path.join(self.prefix, "user.reg")
        return open(path, encoding="latin-1").read() if os.path.exists(path) else ""

    def close(self):
        self.stop_portal()
        try:
            self.kill_wine()
        except Exception:
            pass


def expect(condition, message):
    if not condition:
        raise Failure(message)


class Skip(Exception):
    """The scenario cannot run on this machine (the reason says why)."""


# Step-log entries of a run with the step log switched on: the start-up's
# (game and member id, library check, single instance, language, driver
# started, launch string obtained) and the driver's end.
STARTUP_STEPS = [200, 202, 204, 206, 208, 212]
NOTHING_TO_DO = STARTUP_STEPS + [250]
FILES_UPDATED = STARTUP_STEPS + [238, 242, 250]
# Every game start first starts the sound program, which the test game does
# not have: the launcher reports each start it could not make.
GAME_START_REPORTS = ["VaRidirOro.exe"]


def expect_run_log(s, label, steps, reports=(), since=0):
    """The step-log entries (their senders run on threads of their own, so in
    any order) and the report requests, each named by a text its body holds,
    of the run whose requests begin at `since`."""
    got = sorted(s.steps(since))
    expect(got == sorted(steps), "%s: step log %s, expected %s" % (label, got, sorted(steps)))
    bodies = s.reports(since)
    expect(len(bodies) == len(reports) and all(any(r in b for b in bodies) for r in reports),
           "%s: reports %s, expected %s" % (label, [report_summary(b) for b in bodies],
                                            list(reports)))


def report_summary(body):
    try:
        record = json.loads(body)
        return "%s %s" % (record.get("errorCode"), record.get("body", "")[:100])
    except ValueError:
        return body[:100]


FOLDER_PAGE = """wait class:LDSTART 90000
sleep 500
"""


def wait_for_folder_page(scenario, timeout_s=90):
    """Polls the window's controls until the path field shows."""
    end = time.time() + timeout_s
    while time.time() < end:
        code, out = scenario.probe("list class:LDSTART\n", timeout=30)
        if code == 0 and re.search(r"class=Edit visible=1", out):
            return out
        time.sleep(0.5)
    raise Failure("the folder page did not show")
