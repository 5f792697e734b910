"""What every end-to-end scenario of ldstarter shares: a fresh Wine prefix,
the loopback portal (`ldtool serve`) with a published game, the starter
placed in the prefix with its ldstarter.ini, the UI probe, and readers of the
request log, the registry and the game's record.

Every Wine run is bounded by a time limit; the portal stops by itself. The
caller runs all of it inside one virtual display (xvfb-run).
"""
import base64
import fcntl
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


def new_format_launch(member="tester01", game="Tabla", extra="&k401e=nyy"):
    member, game = (base64.b64encode(t.encode()).decode() for t in (member, game))
    return "ludoria://P=&P0=%s&P1=%s%s" % (member, game, extra)


class Tools:
    def __init__(self, ldtool, starter, game, probe, work):
        self.ldtool, self.starter, self.game, self.probe = ldtool, starter, game, probe
        self.hold = os.path.join(os.path.dirname(game), "file_holder.exe")
        self.work = work


class Scenario:
    def __init__(self, tools, name, keep=False):
        self.tools, self.dir, self.keep = tools, os.path.join(tools.work, name), keep
        shutil.rmtree(self.dir, ignore_errors=True)
        self.prefix, self.root, self.log, self.game_dir = (os.path.join(self.dir, n) for n in (
            "prefix", "portal", "requests.jsonl", "game"))
        os.makedirs(self.root)
        self.portal = self.addr = self.https_addr = None
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mshtml=d;mscoree=d")

    def __enter__(self):
        return self

    def __exit__(self, kind, *_):
        self.close()
        # A passed scenario's prefix is about 700 MB; a failed one stays to be read.
        if kind is None and not self.keep:
            shutil.rmtree(self.prefix, ignore_errors=True)

    # --- the portal ---
    def start_portal(self, *faults):
        out = os.path.join(self.dir, "serve.out")
        args = [self.tools.ldtool, "serve", "--root", self.root, "--port", "0", "--log",
                self.log, "--exit-after", "600"] + [a for f in faults for a in ("--fault", f)]
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

    def ldtool(self, *args):
        r = subprocess.run([self.tools.ldtool] + list(args), capture_output=True, text=True)
        expect(r.returncode == 0, "ldtool %s: %s%s" % (" ".join(args), r.stdout, r.stderr))
        return r.stdout

    # --- the game ---
    def make_game(self, files=None):
        """The game folder: the recording program as tabla.exe plus data files."""
        os.makedirs(os.path.join(self.game_dir, "data"), exist_ok=True)
        shutil.copy(self.tools.game, os.path.join(self.game_dir, GAME_ID + ".exe"))
        files = files if files is not None else {"data/board.pak": os.urandom(150000),
                                                 "data/rules.txt": b"three in a row\r\n"}
        for rel, data in files.items():
            self.write_game_file(rel, data)
        return files

    def write_game_file(self, rel, data, folder=None):
        """A file of the game (or of another package's `folder`)."""
        path = os.path.join(folder or self.game_dir, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        os.utime(path, (1764585000, 1764585000))

    def publish(self, package=GAME_ID, source=None, *extra):
        self.ldtool("publish", "--to", self.root, "--package", package, "--from",
                    source or self.game_dir, "--downloadurl", "http://%s/dist" % self.addr,
                    *extra)

    def publish_starter(self, version, rollback=False):
        self.ldtool("publish", "--to", self.root, "--starter", self.tools.starter,
                    "--starter-version", version, *(["--rollback"] if rollback else []))

    # --- the prefix ---
    def win_path(self, path):
        """C:\\x\\y -> the host path inside the prefix."""
        drive, rest = path.split(":", 1)
        return os.path.join(self.prefix, "drive_" + drive.lower(), *rest.strip("\\").split("\\"))

    def write_ini(self, target, install_root=INSTALL_ROOT):
        """ldstarter.ini in the host folder `target`: every host on loopback."""
        keys = ["real_download", "dev_download", "alpha_download", "outside_download",
                "real_game", "dev_game", "alpha_game", "portal", "tracebook", "real_steplog",
                "alpha_steplog", "real_plum", "alpha_plum", "dev_plum"]
        lines = ["[servers]"] + ["%s=%s" % (k, self.addr) for k in keys]
        lines += ["plum_https_port=%s" % (self.https_addr or ":443").split(":")[1], "[private]",
                  "DefaultInstallDir=%s" % install_root, ""]
        os.makedirs(target, exist_ok=True)
        with open(os.path.join(target, "ldstarter.ini"), "w", newline="") as f:
            f.write("\r\n".join(lines))

    def place_starter(self, folder=STARTER_DIR):
        self.boot_prefix()
        target = self.win_path(folder)
        os.makedirs(target, exist_ok=True)
        shutil.copy(self.tools.starter, os.path.join(target, "ldstarter.exe"))
        self.write_ini(target)
        return folder + "\\ldstarter.exe"

    def published_game(self, starter_version, *faults):
        """The portal up, the game (without base packages) and a starter
        published, one placed; the game's files and the placed starter."""
        self.start_portal(*faults)
        files = self.make_game()
        self.publish(GAME_ID, None, "--no-base2005")
        self.publish_starter(starter_version)
        return files, self.place_starter()

    def boot_prefix(self):
        """A fresh prefix: a copy of one booted once for all scenarios of this
        work folder (wineboot is the slowest part of a scenario's start)."""
        if os.path.exists(os.path.join(self.prefix, "system.reg")):
            return
        template = os.path.join(self.tools.work, "booted_prefix")
        with open(template + ".lock", "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if not os.path.exists(os.path.join(template, "system.reg")):
                env = dict(self.env, WINEPREFIX=template)
                subprocess.run([WINE, "wineboot", "-i"], env=env, capture_output=True, timeout=300)
                subprocess.run([WINESERVER, "-w"], env=env, timeout=120)
            subprocess.run(["cp", "-aT", template, self.prefix], check=True)

    def temp_folder(self):
        """The user's temporary folder as the prefix's registry names it."""
        m = re.search(r'^"TEMP"="([^"]+)"', self.user_registry(), re.M)
        expect(m, "no temporary folder in the prefix")
        return self.win_path(m.group(1).replace("\\\\", "\\"))

    # --- runs ---
    def run_starter(self, program, argument, probe_script=None, timeout=150, wait_all=True):
        """Runs the starter (and the probe script beside it); returns the
        starter's exit code and the probe's (code, output)."""
        # A list gives separate words on the command line (Wine quotes a
        # single argument that holds blanks).
        words = argument if isinstance(argument, list) else [argument]
        starter = subprocess.Popen([WINE, program] + words, env=self.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        probe = {"code": None, "text": ""}

        def drive():
            probe["code"], probe["text"] = self.probe(probe_script, timeout)
        thread = threading.Thread(target=drive)
        if probe_script:
            thread.start()
        try:
            code = starter.wait(timeout)
        except subprocess.TimeoutExpired:
            self.kill_wine()
            raise Failure("the starter did not end within %d s" % timeout)
        if probe_script:
            thread.join(timeout)
        # Let the clone or the game end and the registry reach its file
        # (not while another starter of the scenario still runs).
        if wait_all:
            try:
                subprocess.run([WINESERVER, "-w"], env=self.env, timeout=60)
            except subprocess.TimeoutExpired:
                self.kill_wine()
        return (code - (1 << 32) if code >= (1 << 31) else code), probe

    def probe(self, script, timeout=60):
        # The probe prints why whenever one of its commands fails; a run that
        # failed in silence (a Wine start on a loaded machine, rarely) never
        # reached them, so it runs once more.
        for _ in range(2):
            try:
                r = subprocess.run([WINE, self.tools.probe, "-"], input=script, env=self.env,
                                   capture_output=True, text=True, timeout=timeout)
            except subprocess.TimeoutExpired:
                return -1, "the probe did not end within %d s" % timeout
            if r.returncode == 0 or (r.stdout + r.stderr).strip():
                break
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
        found = [re.search(r"[?&]step=(\d+)", r.get("target", "")) for r in self.requests()[since:]
                 if r["path"] == "/log.html"]
        return [int(m.group(1)) for m in found if m]

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
        if self.portal is not None:
            self.portal.terminate()
            self.portal.wait(10)
            self.portal = None
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
    """The step-log entries (in any order: their senders have threads of their
    own) and reports (named by a text in the body) of the run from `since`."""
    got = sorted(s.steps(since))
    expect(got == sorted(steps), "%s: step log %s, expected %s" % (label, got, sorted(steps)))
    bodies = s.reports(since)
    expect(len(bodies) == len(reports) and all(any(r in b for b in bodies) for r in reports),
           "%s: reports %s, expected %s" % (label, [b[:160] for b in bodies], list(reports)))


def wait_until(condition, seconds, message, step=0.5):
    end = time.time() + seconds
    while not condition():
        if time.time() > end:
            raise Failure(message)
        time.sleep(step)


def wait_for_folder_page(s, timeout_s=90):
    """Polls the window's controls until the path field shows."""
    wait_until(lambda: "class=Edit visible=1" in s.probe("list class:LDSTART\n", 30)[1],
               timeout_s, "the folder page did not show")
