#!/usr/bin/env python3
"""Neither program loads a DLL planted beside it (wine64, virtual display).

  planted_dlls.py LDTOOL LDSTARTER RECORDING_GAME UI_PROBE WORK INSTALLER PLANTED_DLL CONTROL
"""
# WINEDLLOVERRIDES "name=n,b" makes Wine search the program's folder first, as
# Windows does; the control program, which imports wininet.dll the plain way,
# shows that a planted copy is then loaded. Then ldstarter installs and starts
# a game, and ManCpLdStarter installs the starter, each from a folder holding
# the planted DLLs; none of them may be loaded.
import glob
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from e2e_support import (STARTER_DIR, WINE, Failure, Scenario, Tools, expect, new_format_launch,
                         wait_until)
from scenarios import OWN_VERSION, run_with_enter

# Libraries the programs use that are not known DLLs (SHFolder.dll is loaded
# at run time for the application data folder). version.dll is left out:
# Wine's own user32.dll imports it, so Wine loads a planted one at the start
# of any program (on Windows user32.dll is a known DLL, and what it imports
# comes from the system folder).
PLANTED = ("wininet", "urlmon", "comctl32", "shfolder")
INSTALLER = "title:LudStarter Manual Setup"


def plant(s, folder, dll, program):
    """Copies `program` and the planted DLLs into the prefix's `folder`."""
    target = s.win_path(folder)
    os.makedirs(target, exist_ok=True)
    for name in PLANTED:
        shutil.copy(dll, os.path.join(target, name + ".dll"))
    shutil.copy(program, target)
    return target


def loaded(target):
    """The planted DLLs loaded from `target` (each notes its own path)."""
    record = os.path.join(target, "planted.txt")
    return open(record, encoding="latin-1").read().split() if os.path.exists(record) else []


def install_starter(s, carried):
    """Installs the starter through the window; what went wrong, or ""."""
    run = subprocess.Popen([WINE, r"C:\ldsetup\ManCpLdStarter.exe"], env=s.env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        # Short probes, each with its own time limit: under load a probe
        # started together with the installer's new Wine session sometimes
        # never returns.
        wait_until(lambda: s.probe('wait "%s" 5000\nclick "%s" 1000\n' % (INSTALLER, INSTALLER),
                                   timeout=30)[0] == 0, 90, "no window to install in")
        pattern = os.path.join(s.prefix, "drive_c", "users", "*", "AppData", "Roaming",
                               "Ludoria", "ldstarter.exe")
        wait_until(lambda: any(open(p, "rb").read() == carried for p in glob.glob(pattern)), 60,
                   "the starter was not installed")
        s.probe('close "%s"\ngone "%s" 10000\n' % (INSTALLER, INSTALLER))
        run.wait(30)
        return ""
    except Failure as e:
        return str(e)
    finally:
        if run.poll() is None:
            run.kill()


def main(argv):
    if len(argv) != 9:
        print(__doc__)
        return 2
    tools = Tools(*[os.path.abspath(a) for a in argv[1:6]])
    installer, dll, control = [os.path.abspath(a) for a in argv[6:9]]
    with Scenario(tools, "planted_dlls") as s:
        s.env["WINEDLLOVERRIDES"] += ";%s=n,b" % ",".join(PLANTED)
        # The installer's English title; every Wine process of the prefix
        # gets the same locale.
        s.env.update(LANG="C.UTF-8", LC_ALL="C.UTF-8")
        try:
            _, program = s.published_game(OWN_VERSION)
            target = plant(s, r"C:\planted_control", dll, control)
            subprocess.run([WINE, "C:\\planted_control\\" + os.path.basename(control)],
                           env=s.env, capture_output=True, timeout=60)
            expect(any(p.lower().endswith("\\wininet.dll") for p in loaded(target)),
                   "the control program loaded no planted wininet.dll: this Wine does not search "
                   "beside the program, so the test would prove nothing")

            target = plant(s, STARTER_DIR, dll, tools.starter)
            try:
                code, pressed, _ = run_with_enter(s, program, new_format_launch())
            except Failure as e:  # a starter that hangs: what it loaded tells why
                code, pressed = str(e), {}
            expect(loaded(target) == [], "ldstarter loaded %s" % loaded(target))
            expect(code == 0 and pressed.get("pressed") and len(s.game_starts()) == 1,
                   "ldstarter: exit code %s, %s, game starts %s" % (code, pressed,
                                                                    s.game_starts()))

            target = plant(s, r"C:\ldsetup", dll, installer)
            with open(os.path.join(target, "ldstarter.ini"), "w", newline="") as f:
                f.write("[servers]\r\nreal_download=%s\r\nalpha_download=127.0.0.1:1\r\n" % s.addr)
            problem = install_starter(s, open(tools.starter, "rb").read())
            expect(loaded(target) == [], "ManCpLdStarter loaded %s" % loaded(target))
            expect(problem == "", "ManCpLdStarter: " + problem)
            expect("/dist/ldstart/ldstarter_verinfo.dat" in s.paths(),
                   "ManCpLdStarter did not ask for the published version")
        except Failure as e:
            print("FAIL planted_dlls: %s" % e)
            return 1
    print("PASS planted_dlls")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
