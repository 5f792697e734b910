#!/usr/bin/env python3
"""End-to-end scenarios of ldstarter: the real program under wine64 on a
virtual display against `ldtool serve`, driven by the UI probe.

  scenarios.py LDTOOL LDSTARTER_EXE RECORDING_GAME_EXE UI_PROBE_EXE WORK [NAME...]

FILE_HOLDER_EXE beside RECORDING_GAME_EXE holds a file for the held-file scenario.

Runs the named scenarios (all without names) and exits 0 when all passed, 77
when every named scenario was skipped (it cannot run on this machine).
Each scenario has its own Wine prefix and portal; every wait is bounded.
"""
import os
import re
import subprocess
import sys
import threading
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import (FILES_UPDATED, GAME_ID, GAME_START_REPORTS, INSTALL_ROOT, NOTHING_TO_DO, STARTER_DIR,
                         STARTUP_STEPS, WINE, Failure, Scenario, Skip, Tools, expect,
                         expect_run_log, new_format_launch, wait_for_folder_page)

OWN_VERSION = "19.0.7.14"
GUID = r"[0-9a-fA-F]{8}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{12}"


def press_enter_at_folder_page(s, result):
    try:
        wait_for_folder_page(s)
        code, out = s.probe("key class:LDSTART enter\n")
        result["pressed"] = code == 0
    except Failure as e:
        result["error"] = str(e)


def run_with_enter(s, program, launch, timeout=180):
    """Runs the starter and presses Enter once the folder page shows."""
    result = {}
    helper = threading.Thread(target=press_enter_at_folder_page, args=(s, result))
    helper.start()
    code, _ = s.run_starter(program, launch, timeout=timeout)
    helper.join(120)
    return code, result


def check_installed(s, files):
    folder = s.install_folder()
    for rel, data in files.items():
        path = os.path.join(folder, *rel.split("/"))
        expect(os.path.exists(path), "missing after the install: " + rel)
        expect(open(path, "rb").read() == data, "not byte for byte: " + rel)


def check_started_once_more(s, before, launch):
    starts = s.game_starts()
    expect(len(starts) == before + 1, "the game started %d times, expected %d" %
           (len(starts), before + 1))
    cwd, cmdline = starts[-1]
    expect(cwd.rstrip("\\").lower() == (INSTALL_ROOT + "\\KOREAN").lower(),
           "the game's working folder is " + cwd)
    # The third gamestring: the launch string behind the address, the k401e
    # letter turned into H and a session id appended.
    third = launch[len("ludoria://"):].replace("k401e=nyy", "k401e=nyH")
    expect(re.search(re.escape(third) + "&k410e=" + GUID + "$", cmdline) is not None,
           "the game received " + cmdline)
    expect(cmdline.lower().startswith(GAME_ID + ".exe ") or (GAME_ID + ".exe ") in cmdline.lower(),
           "the game's command line starts with " + cmdline[:40])


def scenario_install_update(tools):
    """1 first install, 2 the same launch again, 3 one changed file."""
    s = Scenario(tools, "install_update")
    try:
        s.start_portal()
        files = s.make_game()
        s.publish(GAME_ID, None, "--no-base2005", "--shortcut-url", "http://%s/" % s.addr,
                  "--shortcut-name", "Tabla")
        s.publish_starter(OWN_VERSION)
        program = s.place_starter()
        launch = new_format_launch()

        code, pressed = run_with_enter(s, program, launch)
        expect(pressed.get("pressed"), "first install: no folder page to press Enter on (%s)" %
               pressed.get("error", ""))
        expect(code == 0, "first install: exit code %d" % code)
        files[GAME_ID + ".exe"] = open(tools.game, "rb").read()
        check_installed(s, files)
        registry = s.user_registry()
        expect("Software\\\\Ludoria.Com\\\\KOREAN" in registry, "no install folder record")
        expect("Uninstall\\\\Ludoria.com" in registry, "no uninstall entry")
        check_started_once_more(s, 0, launch)
        users = os.path.join(s.prefix, "drive_c", "users")
        links = [n for u in os.listdir(users) if os.path.isdir(os.path.join(users, u, "Desktop"))
                 for n in os.listdir(os.path.join(users, u, "Desktop")) if n.endswith(".lnk")]
        expect("Tabla.lnk" in links, "no desktop shortcut of the game: %s" % links)
        expect_run_log(s, "first install", FILES_UPDATED, GAME_START_REPORTS)
        downloaded = len(s.game_downloads())
        expect(downloaded == len(files), "first install: %d downloads for %d files" %
               (downloaded, len(files)))
        expect(not any(p.startswith("/dist/ldstart/ldstarter.exe") for p in s.paths()),
               "an equal published version was downloaded")

        # 2: nothing to do; no folder page, nothing downloaded, the game starts.
        t0, since = time.time(), s.mark()
        code, probe = s.run_starter(program, launch)
        expect(code == 0, "relaunch: exit code %d" % code)
        expect(len(s.game_downloads()) == downloaded, "relaunch downloaded game files")
        check_started_once_more(s, 1, launch)
        expect_run_log(s, "relaunch", NOTHING_TO_DO, GAME_START_REPORTS, since)
        print("  relaunch took %.1f s" % (time.time() - t0))

        # 3: one file changed on the server: only it comes.
        files["data/rules.txt"] = b"four in a row\r\n"
        s.write_game_file("data/rules.txt", files["data/rules.txt"])
        s.publish(GAME_ID, None, "--no-base2005")
        since = s.mark()
        code, _ = run_with_enter(s, program, launch)
        expect(code == 0, "update: exit code %d" % code)
        expect_run_log(s, "update", FILES_UPDATED, GAME_START_REPORTS, since)
        new = s.game_downloads()[downloaded:]
        expect(len(new) == 1 and "rules" in new[0], "update downloaded " + repr(new))
        check_installed(s, files)
        check_started_once_more(s, 2, launch)
    finally:
        s.close()


def scenario_catalogue_404(tools):
    s = Scenario(tools, "catalogue_404")
    try:
        s.start_portal("status:404:/hul/newhul/gamekind.ini")
        s.make_game()
        s.publish(GAME_ID, None, "--no-base2005")
        s.publish_starter(OWN_VERSION)
        program = s.place_starter()
        script = ("answer 0018000C ok 90000\n")
        code, probe = s.run_starter(program, new_format_launch(), probe_script=script)
        expect(probe["code"] == 0, "no string 176 box: " + probe["text"])
        expect(code == 0, "exit code %d" % code)
        expect(s.game_starts() == [], "the game started")
        # A fatal box after it would hold the starter until its time limit.
        # The download's own report of the status, then the driver's.
        expect_run_log(s, "catalogue 404", STARTUP_STEPS + [250],
                       ["FnRet:404", "IDS_FAILED_TO_DOWNLOAD_GAMEKIND_INI"])
    finally:
        s.close()


def scenario_second_instance_and_cancel(tools):
    s = Scenario(tools, "second_instance")
    try:
        _, program = s.published_game(OWN_VERSION)
        launch = new_format_launch()
        result = {}

        def first():
            result["code"], _ = s.run_starter(program, launch, timeout=180)

        holder = threading.Thread(target=first)
        holder.start()
        wait_for_folder_page(s)
        code, probe = s.run_starter(program, launch, probe_script="answer 00010002 ok 60000\n",
                                    timeout=90, wait_all=False)
        expect(probe["code"] == 0, "no string 145 box: " + probe["text"])
        expect(code == 0, "second instance: exit code %d" % code)
        # Cancel at the folder page: the stop question, Yes; no fatal box.
        rc, out = s.probe("key class:LDSTART escape\nanswer stop yes 15000\n", timeout=30)
        expect(rc == 0, "no stop question after Escape: " + out)
        rc_fatal, _ = s.probe("answer 00000097 ok 4000\n", timeout=30)
        holder.join(200)
        expect(rc_fatal != 0, "a fatal box followed the cancel")
        expect(result.get("code") == 0, "first instance: exit code %r" % result.get("code"))
        # The second instance ends at its single-instance check (no 204); the
        # first is cancelled at the folder page, so no 250.
        expect_run_log(s, "two instances and a cancel", STARTUP_STEPS + [238, 200, 202])
        expect(s.game_starts() == [], "the game started after a cancel")
    finally:
        s.close()


def scenario_slash_commands(tools):
    s = Scenario(tools, "slash_commands")
    try:
        s.start_portal()
        program = s.place_starter()
        marker = os.path.join(s.win_path(STARTER_DIR), "_kind_.txt")
        # Neither the support boxes nor a launch string without a game id
        # send a step-log entry 200.
        code, probe = s.run_starter(program, "/bekind", probe_script="answer BeKind ok 60000\n")
        expect(code == 0 and probe["code"] == 0, "bekind: %d %s" % (code, probe["text"]))
        expect(os.path.isfile(marker), "bekind made no marker")
        code, probe = s.run_starter(program, "/nokind", probe_script="answer NoKind ok 60000\n")
        expect(code == 0 and probe["code"] == 0, "nokind: %d %s" % (code, probe["text"]))
        expect(not os.path.exists(marker), "nokind left the marker")
        code, _ = s.run_starter(program, ["/bekind", "/nokind"], timeout=60)
        expect(code == 0 and not os.path.exists(marker), "bekind with nokind did something")
        # A tail of 300 characters is a launch string: the run goes on to the
        # language check (an old-format string without "lang").
        tail = "/bekind " + "x" * 292
        code, probe = s.run_starter(program, tail.split(" "),
                                    probe_script="answer 00170001 ok 90000\n")
        expect(probe["code"] == 0, "300 characters: no language box: " + probe["text"])
        expect(not os.path.exists(marker), "300 characters: bekind acted")
        # Without a k401e switch in the tail the step log stays off; no
        # starter is published, so the version check's download reports 404.
        expect_run_log(s, "slash commands", [], ["FnRet:404"])
    finally:
        s.close()


def scenario_self_update(tools):
    s = Scenario(tools, "self_update")
    try:
        _, program = s.published_game("19.0.7.15")
        s.boot_prefix()
        temp = s.temp_folder()
        with open(os.path.join(temp, "ldstarter.ini"), "w", newline="") as f:
            f.write(s.ini_text())
        launch = new_format_launch()
        code, pressed = run_with_enter(s, program, launch, timeout=240)
        # The old starter ends at its self-update check, before any entry.
        expect_run_log(s, "newer starter", FILES_UPDATED, GAME_START_REPORTS)
        expect(code == 0, "old starter: exit code %d" % code)
        expect(pressed.get("pressed"), "the clone showed no folder page")
        paths = s.paths("/dist/ldstart/")
        expect(paths.count("/dist/ldstart/ldstarter.exe") == 1, "program downloads: %s" % paths)
        expect(os.path.exists(os.path.join(temp, "ldstarter.exe")), "no clone in the temp folder")
        starts = s.game_starts()
        expect(len(starts) == 1, "the game started %d times" % len(starts))
        data = [os.path.join(r, "ldstarter.exe") for r, _, f in
                os.walk(os.path.join(s.prefix, "drive_c", "users")) if "ldstarter.exe" in f
                and r.endswith("Ludoria")]
        expect(data, "the clone did not copy itself into the starter data folder")

        # A rollback to an older build updates the same way; an equal one not.
        s.publish_starter("19.0.7.13", rollback=True)
        since = s.mark()
        code, _ = s.run_starter(program, launch, timeout=240)
        expect_run_log(s, "rollback", NOTHING_TO_DO, GAME_START_REPORTS, since)
        expect(s.paths("/dist/ldstart/").count("/dist/ldstart/ldstarter.exe") == 2,
               "the rollback fetched no program")
        expect(len(s.game_starts()) == 2, "rollback: the game did not start once more")
        s.publish_starter(OWN_VERSION)
        since = s.mark()
        code, _ = s.run_starter(program, launch, timeout=240)
        expect_run_log(s, "equal version", NOTHING_TO_DO, GAME_START_REPORTS, since)
        expect(s.paths("/dist/ldstart/").count("/dist/ldstart/ldstarter.exe") == 2,
               "an equal version fetched the program")
        expect(len(s.game_starts()) == 3, "equal version: the game did not start")
    finally:
        s.close()


def scenario_base_packages(tools):
    """4: a game with a base package: lists in catalogue order, files of the
    second package first."""
    s = Scenario(tools, "base_packages")
    try:
        s.start_portal()
        files = s.make_game()
        base = os.path.join(s.dir, "base")
        os.makedirs(os.path.join(base, "common"))
        with open(os.path.join(base, "common", "font.dat"), "wb") as f:
            f.write(os.urandom(40000))
        s.publish("base2005", base)
        s.publish(GAME_ID)
        s.publish_starter(OWN_VERSION)
        program = s.place_starter()
        code, pressed = run_with_enter(s, program, new_format_launch())
        expect(code == 0 and pressed.get("pressed"), "exit code %d, %s" % (code, pressed))
        lists = s.paths("/hul/newhul/")
        expect(lists == ["/hul/newhul/gamekind.ini", "/hul/newhul/tabla.hul",
                         "/hul/newhul/base2005.hul"], "lists fetched: %s" % lists)
        order = [p.split("/")[2] for p in s.game_downloads()]
        expect(order and order[0] == "base2005" and order[-1] == GAME_ID and
               order == sorted(order, key=lambda n: n != "base2005"),
               "download order: %s" % order)
        expect(os.path.exists(os.path.join(s.install_folder(), "common", "font.dat")),
               "the base package's file is missing")
        expect(len(s.game_starts()) == 1, "the game did not start")
        expect_run_log(s, "base packages", FILES_UPDATED, GAME_START_REPORTS)
    finally:
        s.close()


def scenario_old_format(tools):
    """5: the old format through the gamestring server: the moved fields leave
    the request and come back in the string the game receives."""
    s = Scenario(tools, "old_format")
    try:
        _, program = s.published_game(OWN_VERSION)
        fields = [("k93e", "Tabla"), ("k89e", "http://%s/dist" % s.addr),
                  ("k96e", "http://%s/hul" % s.addr), ("k60e", "Tabla"), ("k91e", "1.5")]
        answer = "tablachannel://metp://a/b/c/;" + "&".join(
            "%s:%d=%s" % (k, len(v), v) for k, v in fields)
        os.makedirs(os.path.join(s.root, "gamestring"))
        with open(os.path.join(s.root, "gamestring", "tabla.txt"), "w") as f:
            f.write("ludoria://" + answer)
        launch = ("ludoria://http://%s/gamestring/tabla?k22e=tabla&k3e=tester01&lang=KOREAN"
                  "&k401e=nyy" % s.addr)
        code, pressed = run_with_enter(s, program, launch)
        expect(code == 0 and pressed.get("pressed"), "exit code %d, %s" % (code, pressed))
        asked = [r["target"] for r in s.requests() if r["path"] == "/gamestring/tabla"]
        expect(len(asked) == 1, "gamestring requests: %s" % asked)
        expect("k22e=" not in asked[0] and "k3e=" not in asked[0] and "lang=KOREAN" in asked[0]
               and "k401e=nyH" in asked[0] and "k410e=" in asked[0],
               "gamestring request: " + asked[0])
        starts = s.game_starts()
        expect(len(starts) == 1, "the game started %d times" % len(starts))
        expect(starts[0][1].endswith(" " + answer + "&k22e:5=tabla&k3e:8=tester01"),
               "the game received " + starts[0][1])
        expect_run_log(s, "old format", FILES_UPDATED, GAME_START_REPORTS)
    finally:
        s.close()


def scenario_analysis_failure(tools):
    """7: a launch string whose game id cannot be stored ends with the
    analysis failure's boxes and starts nothing."""
    s = Scenario(tools, "analysis_failure")
    try:
        s.start_portal()
        s.publish_starter(OWN_VERSION)
        program = s.place_starter()
        launch = new_format_launch(game="ElevenChars")
        script = "answer Ludoria ok 90000\nsleep 1000\n"
        code, probe = s.run_starter(program, launch, probe_script=script)
        expect(probe["code"] == 0, "no box: " + probe["text"])
        expect(code == 0, "exit code %d" % code)
        expect(s.paths("/hul/") == [], "the catalogue was fetched")
        expect_run_log(s, "analysis failure", STARTUP_STEPS + [250])
    finally:
        s.close()


def scenario_held_file(tools):
    """7: a file the update must replace is held open: string 180 asks
    whether to stop, and Yes ends the starter with -1."""
    s = Scenario(tools, "held_file")
    holder = None
    try:
        files, program = s.published_game(OWN_VERSION)
        launch = new_format_launch()
        code, pressed = run_with_enter(s, program, launch)
        expect(code == 0 and pressed.get("pressed"), "first install: %d %s" % (code, pressed))
        s.write_game_file("data/rules.txt", b"four in a row\r\n")
        s.publish(GAME_ID, None, "--no-base2005")

        held = os.path.join(s.install_folder(), "data", "rules.txt")
        holder = subprocess.Popen([WINE, tools.hold, INSTALL_ROOT + "\\KOREAN\\data\\rules.txt",
                                   "120"], env=s.env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        for _ in range(300):
            if os.path.exists(held + ".held"):
                break
            time.sleep(0.1)
        expect(os.path.exists(held + ".held"), "the file could not be held")

        result = {}
        helper = threading.Thread(target=press_enter_at_folder_page, args=(s, result))
        helper.start()
        since = s.mark()
        code, probe = s.run_starter(program, launch, wait_all=False,
                                    probe_script='answer "Unable to delete" yes 120000\n')
        helper.join(120)
        expect(probe["code"] == 0, "no string 180 question: " + probe["text"])
        # -1 reaches the Unix side of Wine as its low byte.
        expect(code in (-1, 255), "exit code %d after Yes" % code)
        expect(len(s.game_starts()) == 1, "the game started after Yes")
        expect(open(held, "rb").read() == files["data/rules.txt"], "the held file changed")
        # Yes ends the process inside the file update: no 242, no 250.
        expect_run_log(s, "held file", STARTUP_STEPS + [238], since=since)
    finally:
        if holder is not None:
            holder.kill()
        s.close()


def scenario_disk_space(tools):
    """7: the game lives on drive D: of the prefix, a small tmpfs; an update
    larger than its free space ends with the string 146 box and fetches
    nothing. (A first install has no folder yet when the space is checked, and
    a folder without a drive passes the check.)"""
    s = Scenario(tools, "disk_space")
    drive = os.path.join(s.dir, "small_drive")
    os.makedirs(drive)
    r = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=4m", "tmpfs", drive],
                       capture_output=True, text=True)
    if r.returncode != 0:
        raise Skip("cannot mount a small tmpfs as the install drive (%s)" %
                   (r.stderr.strip() or "mount failed"))
    try:
        _, program = s.published_game(OWN_VERSION)
        os.symlink(drive, os.path.join(s.prefix, "dosdevices", "d:"))
        with open(os.path.join(s.win_path(STARTER_DIR), "ldstarter.ini"), "w", newline="") as f:
            f.write(s.ini_text(install_root=r"D:\LudoriaGames"))
        launch = new_format_launch()
        code, pressed = run_with_enter(s, program, launch)
        started = os.path.join(drive, "LudoriaGames", "KOREAN", "started.txt")
        expect(code == 0 and pressed.get("pressed") and os.path.exists(started),
               "first install on D: %d %s" % (code, pressed))

        s.write_game_file("data/board.pak", os.urandom(6 << 20))
        s.publish(GAME_ID, None, "--no-base2005")
        since, downloaded = s.mark(), len(s.game_downloads())
        code, probe = s.run_starter(program, launch, probe_script="answer 0018000A ok 90000\n")
        expect(probe["code"] == 0, "no string 146 box: " + probe["text"])
        expect(code == 0, "exit code %d" % code)
        expect(len(s.game_downloads()) == downloaded, "game files downloaded")
        expect(len(open(started).read().splitlines()) == 2, "the game started again")
        expect_run_log(s, "disk space", STARTUP_STEPS + [238, 228, 250],
                       ["IDS_FAIL_NOTENOUGH_FREESPACE"], since)
    finally:
        s.close()
        subprocess.run(["umount", drive], capture_output=True)


SCENARIOS = {
    "install_update": scenario_install_update,
    "catalogue_404": scenario_catalogue_404,
    "second_instance": scenario_second_instance_and_cancel,
    "slash_commands": scenario_slash_commands,
    "self_update": scenario_self_update,
    "base_packages": scenario_base_packages,
    "old_format": scenario_old_format,
    "analysis_failure": scenario_analysis_failure,
    "held_file": scenario_held_file,
    "disk_space": scenario_disk_space,
}


def main(argv):
    if len(argv) < 6:
        print(__doc__)
        return 2
    tools = Tools(*[os.path.abspath(a) for a in argv[1:6]])
    os.makedirs(tools.work, exist_ok=True)
    names = argv[6:] or list(SCENARIOS)
    failed, skipped = [], []
    for name in names:
        t0 = time.time()
        try:
            SCENARIOS[name](tools)
            print("PASS %s (%.0f s)" % (name, time.time() - t0))
        except Skip as e:
            skipped.append(name)
            print("SKIP %s: %s" % (name, e))
        except Exception as e:  # a failed check or a broken run
            failed.append(name)
            print("FAIL %s (%.0f s): %s" % (name, time.time() - t0, e))
            if not isinstance(e, Failure):
                traceback.print_exc()
        sys.stdout.flush()
    if failed:
        return 1
    return 77 if len(skipped) == len(names) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
