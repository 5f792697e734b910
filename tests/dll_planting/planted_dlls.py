#!/usr/bin/env python3
"""Neither program loads a DLL planted beside it (wine64, virtual display).

  planted_dlls.py LDTOOL LDSTARTER RECORDING_GAME UI_PROBE WORK INSTALLER PLANTED_DLL CONTROL

Wine prefers its built-in system libraries to a file beside the program;
WINEDLLOVERRIDES "name=n,b" makes it search as Windows does, the program's
folder first. The control program, which imports wininet.dll the plain way,
shows that this search does load a planted copy. Then ldstarter installs and
starts a game, and ManCpLdStarter installs the starter, each from a folder
holding the planted DLLs; none of them may be loaded.

version.dll is not planted: Wine's own user32.dll imports it, so Wine loads a
planted one at the start of any program. (On Windows user32.dll is a known
DLL, and the libraries it imports come from the system folder.)
"""
import glob
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from e2e_support import (GAME_ID, STARTER_DIR, WINE, Failure, Scenario, Tools, expect,
                         new_format_launch)
from scenarios import OWN_VERSION, run_with_enter

# Libraries the programs use that are not known DLLs (SHFolder.dll is loaded
# at run time for the application data folder).
PLANTED = ("wininet", "urlmon", "comctl32", "shfolder")
INSTALLER_TITLE = "title:LudStarter Manual Setup"


def plant(folder, dll):
    for name in PLANTED:
        shutil.copy(dll, os.path.join(folder, name + ".dll"))


def loaded(folder):
    """The planted DLLs that were loaded from `folder` (their own record)."""
    record = os.path.join(folder, "planted.txt")
    if not os.path.exists(record):
        return []
    return open(record, encoding="latin-1").read().split()


def check_control(s, control, dll):
    folder = s.win_path(r"C:\planted_control")
    os.makedirs(folder)
    shutil.copy(control, folder)
    plant(folder, dll)
    subprocess.run([WINE, "C:\\planted_control\\" + os.path.basename(control)], env=s.env,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    expect(any(p.lower().endswith("\\wininet.dll") for p in loaded(folder)),
           "the control program loaded no planted wininet.dll: this Wine does not search "
           "beside the program, so the test would prove nothing")


def check_starter(s, dll):
    program = s.place_starter()
    folder = s.win_path(STARTER_DIR)
    plant(folder, dll)
    try:
        code, pressed = run_with_enter(s, program, new_format_launch())
    except Failure as e:  # a starter that hangs: what it loaded tells why
        code, pressed = str(e), {}
    expect(loaded(folder) == [], "ldstarter loaded %s" % loaded(folder))
    expect(code == 0, "ldstarter: %s" % code)
    expect(pressed.get("pressed"), "ldstarter: no folder page (%s)" % pressed.get("error", ""))
    expect(len(s.game_starts()) == 1, "ldstarter: the game did not start")


def install_starter(s):
    """Presses Install and waits for the carried starter in the data folder;
    what went wrong, or an empty text."""
    run = subprocess.Popen([WINE, r"C:\ldsetup\ManCpLdStarter.exe"], env=s.env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        # Short probes, each with its own time limit: under load a probe
        # started together with the installer's new Wine session sometimes
        # never returns.
        deadline = time.time() + 90
        code, out = -1, ""
        while code != 0 and time.time() < deadline:
            code, out = s.probe('wait "%s" 5000\nclick "%s" 1000\n' % (INSTALLER_TITLE,
                                                                       INSTALLER_TITLE),
                                timeout=30)
        if code != 0:
            return "no window to start the installation in: " + out
        pattern = os.path.join(s.prefix, "drive_c", "users", "*", "AppData", "Roaming",
                               "Ludoria", "ldstarter.exe")
        carried = open(s.tools.starter, "rb").read()
        deadline = time.time() + 60
        while not any(open(p, "rb").read() == carried for p in glob.glob(pattern)):
            if time.time() > deadline:
                return "the starter was not installed"
            time.sleep(0.5)
        s.probe('close "%s"\ngone "%s" 10000\n' % (INSTALLER_TITLE, INSTALLER_TITLE))
        run.wait(30)
        return ""
    finally:
        if run.poll() is None:
            run.kill()


def check_installer(s, installer, dll):
    folder = s.win_path(r"C:\ldsetup")
    os.makedirs(folder)
    shutil.copy(installer, folder)
    with open(os.path.join(folder, "ldstarter.ini"), "w", newline="") as f:
        f.write("[servers]\r\nreal_download=%s\r\nalpha_download=127.0.0.1:1\r\n" % s.addr)
    plant(folder, dll)
    problem = install_starter(s)
    expect(loaded(folder) == [], "ManCpLdStarter loaded %s" % loaded(folder))
    expect(problem == "", "ManCpLdStarter: " + problem)
    expect(any(r["path"] == "/dist/ldstart/ldstarter_verinfo.dat" for r in s.requests()),
           "ManCpLdStarter did not ask for the published version")


def main(argv):
    if len(argv) != 9:
        print(__doc__)
        return 2
    tools = Tools(*[os.path.abspath(a) for a in argv[1:6]])
    installer, dll, control = [os.path.abspath(a) for a in argv[6:9]]
    s = Scenario(tools, "planted_dlls")
    s.env["WINEDLLOVERRIDES"] += ";%s=n,b" % ",".join(PLANTED)
    # The installer's English title; every Wine process of the prefix gets
    # the same locale.
    s.env.update(LANG="C.UTF-8", LC_ALL="C.UTF-8")
    try:
        s.start_portal()
        s.make_game()
        s.publish(GAME_ID, None, "--no-base2005")
        s.publish_starter(OWN_VERSION)
        s.boot_prefix()
        check_control(s, control, dll)
        check_starter(s, dll)
        check_installer(s, installer, dll)
    except Failure as e:
        print("FAIL planted_dlls: %s" % e)
        return 1
    finally:
        s.close()
    print("PASS planted_dlls")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
