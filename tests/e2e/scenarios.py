#!/usr/bin/env python3
"""End-to-end scenarios: the real ldstarter under wine64 on a virtual display
against `ldtool serve`, driven by the UI probe; every wait is bounded.

  scenarios.py LDTOOL LDSTARTER_EXE RECORDING_GAME_EXE UI_PROBE_EXE WORK [NAME...]

Runs the named scenarios (all without names); exits 0 when all passed, 77 when
every one was skipped. file_holder.exe must lie beside RECORDING_GAME_EXE.
"""
import glob
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
                         expect_run_log, new_format_launch, wait_for_folder_page, wait_until)

OWN_VERSION = "19.0.7.14"
GUID = r"[0-9a-fA-F]{8}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{12}"


def run_with_enter(s, program, launch, timeout=180, **kw):
    """Runs the starter and presses Enter once the folder page shows; the
    starter's exit code, the probe's answer and whether Enter was pressed."""
    result = {}

    def press():
        try:
            wait_for_folder_page(s)
            result["pressed"] = s.probe("key class:LDSTART enter\n")[0] == 0
        except Failure as e:
            result["error"] = str(e)
    helper = threading.Thread(target=press)
    helper.start()
    code, probe = s.run_starter(program, launch, timeout=timeout, **kw)
    helper.join(120)
    return code, result, probe


def expect_installed_run(label, code, pressed, _=None):
    expect(code == 0 and pressed.get("pressed"), "%s: exit code %d, %s" % (label, code, pressed))


def check_installed(s, files):
    for rel, data in files.items():
        path = os.path.join(s.install_folder(), *rel.split("/"))
        expect(os.path.isfile(path) and open(path, "rb").read() == data,
               "missing or not byte for byte after the install: " + rel)


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
    expect((GAME_ID + ".exe ") in cmdline.lower(), "the game's command line is " + cmdline[:40])


def scenario_install_update(tools):
    """1 first install, 2 the same launch again, 3 one changed file."""
    with Scenario(tools, "install_update") as s:
        s.start_portal()
        files = s.make_game()
        s.publish(GAME_ID, None, "--no-base2005", "--shortcut-url", "http://%s/" % s.addr,
                  "--shortcut-name", "Tabla")
        s.publish_starter(OWN_VERSION)
        program = s.place_starter()
        launch = new_format_launch()

        expect_installed_run("first install", *run_with_enter(s, program, launch))
        files[GAME_ID + ".exe"] = open(tools.game, "rb").read()
        check_installed(s, files)
        registry = s.user_registry()
        for entry in (r'Software\\Ludoria.Com\\KOREAN]', '"Home"=', r'Uninstall\\Ludoria.com]',
                      '"UninstallString"='):
            expect(entry in registry, "no %s in the registry" % entry)
        check_started_once_more(s, 0, launch)
        links = glob.glob(os.path.join(s.prefix, "drive_c", "users", "*", "Desktop", "*.lnk"))
        expect("Tabla.lnk" in map(os.path.basename, links), "desktop shortcuts: %s" % links)
        expect_run_log(s, "first install", FILES_UPDATED, GAME_START_REPORTS)
        downloaded = len(s.game_downloads())
        expect(downloaded == len(files), "first install: %d downloads for %d files" %
               (downloaded, len(files)))
        expect("/dist/ldstart/ldstarter.exe" not in s.paths(),
               "an equal published version was downloaded")

        # 2: nothing to do; no folder page, nothing downloaded, the game
        # starts after the countdown (at least 5 s after the driver began).
        since = s.mark()
        code, _ = s.run_starter(program, launch)
        expect(code == 0, "relaunch: exit code %d" % code)
        expect(len(s.game_downloads()) == downloaded, "relaunch downloaded game files")
        check_started_once_more(s, 1, launch)
        expect_run_log(s, "relaunch", NOTHING_TO_DO, GAME_START_REPORTS, since)
        began = [r["time_ms"] / 1000 for r in s.requests()[since:] if "step=212" in r["target"]]
        waited = os.path.getmtime(os.path.join(s.install_folder(), "started.txt")) - began[0]
        expect(waited > 4, "the game started %.1f s after the driver began" % waited)
        # The same with the step log off: no step-log sender holds the end
        # back, and the game start's report must still leave before it.
        since = s.mark()
        quiet = new_format_launch(extra="&k401e=nnn")
        code, _ = s.run_starter(program, quiet)
        expect(code == 0, "relaunch without step log: exit code %d" % code)
        check_started_once_more(s, 2, quiet)
        expect_run_log(s, "relaunch without step log", [], GAME_START_REPORTS, since)

        # 3: one file changed on the server: only it comes.
        files["data/rules.txt"] = b"four in a row\r\n"
        s.write_game_file("data/rules.txt", files["data/rules.txt"])
        s.publish(GAME_ID, None, "--no-base2005")
        since = s.mark()
        code = run_with_enter(s, program, launch)[0]
        expect(code == 0, "update: exit code %d" % code)
        expect_run_log(s, "update", FILES_UPDATED, GAME_START_REPORTS, since)
        new = s.game_downloads()[downloaded:]
        expect(len(new) == 1 and "rules" in new[0], "update downloaded " + repr(new))
        check_installed(s, files)
        check_started_once_more(s, 3, launch)


def scenario_catalogue_404(tools):
    with Scenario(tools, "catalogue_404") as s:
        _, program = s.published_game(OWN_VERSION, "status:404:/hul/newhul/gamekind.ini")
        code, probe = s.run_starter(program, new_format_launch(),
                                    probe_script="answer 0018000C ok 90000\n")
        # A fatal box after it would hold the starter until its time limit.
        expect(probe["code"] == 0 and code == 0, "no string 176 box or exit code %d: %s" %
               (code, probe["text"]))
        expect(s.game_starts() == [], "the game started")
        # The download's own report of the status, then the driver's.
        expect_run_log(s, "catalogue 404", STARTUP_STEPS + [250],
                       ["FnRet:404", "IDS_FAILED_TO_DOWNLOAD_GAMEKIND_INI"])


def scenario_second_instance(tools):
    """7: a second instance, then a cancel at the folder page."""
    with Scenario(tools, "second_instance") as s:
        _, program = s.published_game(OWN_VERSION)
        launch = new_format_launch()
        result = {}
        holder = threading.Thread(
            target=lambda: result.update(code=s.run_starter(program, launch, timeout=180)[0]))
        holder.start()
        wait_for_folder_page(s)
        code, probe = s.run_starter(program, launch, probe_script="answer 00010002 ok 60000\n",
                                    timeout=90, wait_all=False)
        expect(probe["code"] == 0 and code == 0, "no string 145 box or exit code %d: %s" %
               (code, probe["text"]))
        # Cancel at the folder page: the stop question, Yes; no fatal box.
        rc, out = s.probe("key class:LDSTART escape\nanswer stop yes 15000\n", timeout=30)
        expect(rc == 0, "no stop question after Escape: " + out)
        rc_fatal, _ = s.probe("answer 00000097 ok 4000\n", timeout=30)
        holder.join(200)
        expect(rc_fatal != 0, "a fatal box followed the cancel")
        expect(result.get("code") == 0, "first instance: exit code %r" % result.get("code"))
        # The second instance ends at its single-instance check (no 204); the
        # first is cancelled at the folder page, which sends the step it had
        # reached (240) and no 250.
        expect_run_log(s, "two instances and a cancel", STARTUP_STEPS + [238, 240, 200, 202])
        # The cancel's entry names the run's game and member as the driver's do.
        ids = {re.search(r"step=(\d+)", r["target"]).group(1):
               re.search(r"gid=[^&]*&mid=[^&]*", r["target"]).group(0)
               for r in s.requests() if r["path"] == "/log.html"}
        expect(ids["240"] == ids["238"] and "gid=&" not in ids["240"],
               "the cancel's step log names %s, the driver's %s" % (ids["240"], ids["238"]))
        expect(s.game_starts() == [], "the game started after a cancel")


def scenario_slash_commands(tools):
    with Scenario(tools, "slash_commands") as s:
        s.start_portal()
        program = s.place_starter()
        marker = os.path.join(s.win_path(STARTER_DIR), "_kind_.txt")
        # Neither the support boxes nor a launch string without a game id
        # send a step-log entry 200. A tail of 300 characters is a launch
        # string: the run goes on to the language check (an old-format string
        # without "lang").
        for label, words, box, marked in (
                ("bekind", "/bekind", "BeKind", True), ("nokind", "/nokind", "NoKind", False),
                ("both", ["/bekind", "/nokind"], None, False),
                ("300 characters", ["/bekind", "x" * 292], "00170001", False)):
            code, probe = s.run_starter(program, words, timeout=90,
                                        probe_script=box and "answer %s ok 90000\n" % box)
            expect(code == 0 and (not box or probe["code"] == 0),
                   "%s: exit code %d, %s" % (label, code, probe["text"]))
            expect(os.path.isfile(marker) == marked, "%s: the marker is %s" %
                   (label, "missing" if marked else "there"))
        # Without a k401e switch in the tail the step log stays off; no
        # starter is published, so the version check's download reports 404.
        expect_run_log(s, "slash commands", [], ["FnRet:404"])


def scenario_self_update(tools):
    with Scenario(tools, "self_update") as s:
        _, program = s.published_game("19.0.7.15")
        temp = s.temp_folder()
        s.write_ini(temp)
        launch = new_format_launch()
        code, pressed, _ = run_with_enter(s, program, launch, timeout=240)
        # The old starter ends at its self-update check, before any entry.
        expect_run_log(s, "newer starter", FILES_UPDATED, GAME_START_REPORTS)
        expect(code == 0, "old starter: exit code %d" % code)
        expect(pressed.get("pressed"), "the clone showed no folder page")
        expect(os.path.exists(os.path.join(temp, "ldstarter.exe")), "no clone in the temp folder")
        expect(glob.glob(os.path.join(s.prefix, "drive_c", "users", "**", "Ludoria",
                                      "ldstarter.exe"), recursive=True),
               "the clone did not copy itself into the starter data folder")
        # A rollback to an older build updates the same way; an equal one not.
        for label, version, rollback, fetched in (("newer", None, False, 1),
                                                  ("rollback", "19.0.7.13", True, 2),
                                                  ("equal version", OWN_VERSION, False, 2)):
            if version:
                s.publish_starter(version, rollback)
                since = s.mark()
                s.run_starter(program, launch, timeout=240)
                expect_run_log(s, label, NOTHING_TO_DO, GAME_START_REPORTS, since)
            got = s.paths("/dist/ldstart/").count("/dist/ldstart/ldstarter.exe")
            expect(got == fetched, "%s: %d program downloads" % (label, got))
            expect(len(s.game_starts()) == fetched + (label == "equal version"),
                   "%s: the game did not start once more" % label)


def scenario_base_packages(tools):
    """4: a base package: lists in catalogue order, its files downloaded first."""
    with Scenario(tools, "base_packages") as s:
        s.start_portal()
        s.make_game()
        base = os.path.join(s.dir, "base")
        s.write_game_file("common/font.dat", os.urandom(40000), base)
        s.publish("base2005", base)
        s.publish(GAME_ID)
        s.publish_starter(OWN_VERSION)
        expect_installed_run("base packages",
                             *run_with_enter(s, s.place_starter(), new_format_launch()))
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


def scenario_old_format(tools):
    """5: the old format's moved fields leave the gamestring request and come
    back in the string the game receives."""
    with Scenario(tools, "old_format") as s:
        _, program = s.published_game(OWN_VERSION)
        fields = [("k93e", "Tabla"), ("k89e", "http://%s/dist" % s.addr),
                  ("k96e", "http://%s/hul" % s.addr), ("k60e", "Tabla"), ("k91e", "1.5")]
        answer = "tablachannel://metp://a/b/c/;" + "&".join(
            "%s:%d=%s" % (k, len(v), v) for k, v in fields)
        s.write_game_file("tabla.txt", ("ludoria://" + answer).encode(),
                          os.path.join(s.root, "gamestring"))
        launch = ("ludoria://http://%s/gamestring/tabla?k22e=tabla&k3e=tester01&lang=KOREAN"
                  "&k401e=nyy" % s.addr)
        expect_installed_run("old format", *run_with_enter(s, program, launch))
        asked = [r["target"] for r in s.requests() if r["path"] == "/gamestring/tabla"]
        expect(len(asked) == 1 and "k22e=" not in asked[0] and "k3e=" not in asked[0] and
               all(f in asked[0] for f in ("lang=KOREAN", "k401e=nyH", "k410e=")),
               "gamestring requests: %s" % asked)
        starts = s.game_starts()
        expect(len(starts) == 1 and
               starts[0][1].endswith(" " + answer + "&k22e:5=tabla&k3e:8=tester01"),
               "the game's starts: %s" % starts)
        expect_run_log(s, "old format", FILES_UPDATED, GAME_START_REPORTS)


def scenario_analysis_failure(tools):
    """7: a game id too long to store: the analysis failure's box, no game."""
    with Scenario(tools, "analysis_failure") as s:
        s.start_portal()
        s.publish_starter(OWN_VERSION)
        code, probe = s.run_starter(s.place_starter(), new_format_launch(game="ElevenChars"),
                                    probe_script="answer Ludoria ok 90000\nsleep 1000\n")
        expect(probe["code"] == 0 and code == 0, "no box or exit code %d: %s" %
               (code, probe["text"]))
        expect(s.paths("/hul/") == [], "the catalogue was fetched")
        expect_run_log(s, "analysis failure", STARTUP_STEPS + [250])


def scenario_held_file(tools):
    """7: a held file: string 180 asks whether to stop; Yes ends with -1."""
    with Scenario(tools, "held_file") as s:
        files, program = s.published_game(OWN_VERSION)
        launch = new_format_launch()
        expect_installed_run("first install", *run_with_enter(s, program, launch))
        s.write_game_file("data/rules.txt", b"four in a row\r\n")
        s.publish(GAME_ID, None, "--no-base2005")

        held = os.path.join(s.install_folder(), "data", "rules.txt")
        holder = subprocess.Popen([WINE, tools.hold, INSTALL_ROOT + "\\KOREAN\\data\\rules.txt",
                                   "120"], env=s.env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        try:
            wait_until(lambda: os.path.exists(held + ".held"), 30, "the file could not be held")
            since = s.mark()
            code, _, probe = run_with_enter(
                s, program, launch, wait_all=False,
                probe_script='answer "Unable to delete" yes 120000\n')
            expect(probe["code"] == 0, "no string 180 question: " + probe["text"])
            # -1 reaches the Unix side of Wine as its low byte.
            expect(code in (-1, 255), "exit code %d after Yes" % code)
            expect(len(s.game_starts()) == 1, "the game started after Yes")
            expect(open(held, "rb").read() == files["data/rules.txt"], "the held file changed")
            # Yes ends the process inside the file update: no 242, no 250.
            expect_run_log(s, "held file", STARTUP_STEPS + [238], since=since)
        finally:
            holder.kill()


def scenario_disk_space(tools):
    """7: an update larger than the free space of drive D: (a small tmpfs)
    ends with the string 146 box and fetches nothing. (A first install has no
    folder yet to check the space of.)"""
    with Scenario(tools, "disk_space") as s:
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
            s.write_ini(s.win_path(STARTER_DIR), install_root=r"D:\LudoriaGames")
            launch = new_format_launch()
            expect_installed_run("first install on D:", *run_with_enter(s, program, launch))
            started = os.path.join(drive, "LudoriaGames", "KOREAN", "started.txt")
            expect(os.path.exists(started), "first install on D: did not start the game")

            s.write_game_file("data/board.pak", os.urandom(6 << 20))
            s.publish(GAME_ID, None, "--no-base2005")
            since, downloaded = s.mark(), len(s.game_downloads())
            code, probe = s.run_starter(program, launch,
                                        probe_script="answer 0018000A ok 90000\n")
            expect(probe["code"] == 0 and code == 0, "no string 146 box or exit code %d: %s" %
                   (code, probe["text"]))
            expect(len(s.game_downloads()) == downloaded, "game files downloaded")
            expect(len(open(started).read().splitlines()) == 2, "the game started again")
            expect_run_log(s, "disk space", STARTUP_STEPS + [238, 228, 250],
                           ["IDS_FAIL_NOTENOUGH_FREESPACE"], since)
        finally:
            s.close()
            subprocess.run(["umount", drive], capture_output=True)


SCENARIOS = {n[len("scenario_"):]: f for n, f in globals().items() if n.startswith("scenario_")}


def main(argv):
    if len(argv) < 6:
        print(__doc__)
        return 2
    tools = Tools(*[os.path.abspath(a) for a in argv[1:6]])
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
    return 1 if failed else 77 if len(skipped) == len(names) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
