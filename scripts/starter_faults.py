#!/usr/bin/env python3
"""Hand-made faults in the starter: does the suite catch each of them?

  starter_faults.py [--src TREE] [--build DIR] [--only NAME...] [--list] [--timeout S]

For every fault below: puts it into TREE (default: this repository), rebuilds
the win64 programs the end-to-end scenarios run, runs the named ctest tests
under wine64 on a virtual display (the scenarios make their own prefixes;
other tests get a fresh shared one, as in scripts/test.sh), puts the file
back (also on Ctrl-C) and prints "caught" (a test failed), "missed" (all
passed) or "broken" (the fault did not apply or build).
DIR defaults to TREE/build/win64 and must be configured (cmake --preset win64),
with a native ldtool built (cmake --build --preset native --target ldtool).
Run it in a clone, not in a working copy with unsaved edits. Exit code 0 when
every fault run was caught.
"""
import argparse
import os
import shutil
import signal
import subprocess
import sys
import time

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
TARGETS = ["ldstarter", "ui_probe", "recording_game", "file_holder"]

# (name, file, old text, new text, what goes wrong, ctest names)
FAULTS = [
    ("update_skipped", "starter/driver/installation_driver.cpp",
     "if (!nothing_to_do_ && !UpdateFiles()) return;",
     "if (nothing_to_do_ && !UpdateFiles()) return;",
     "the driver skips the file update when files changed", ["e2e_install_update"]),
    ("end_step_after_cancel", "starter/driver/installation_driver.cpp",
     "if (!stopped) SendStepLog(app_, driver_step::kEnded);",
     "SendStepLog(app_, driver_step::kEnded);",
     "step-log 250 is sent after the user cancelled", ["e2e_second_instance"]),
    ("status_not_checked", "starter/download/downloader.cpp",
     "if (status != HTTP_STATUS_OK) {", "if (status >= HTTP_STATUS_SERVER_ERROR) {",
     "a download keeps a 404 answer as the file", ["e2e_catalogue_404"]),
    ("unpack_short_piece", "starter/install/zip_extract.cpp",
     "if (read == 0) return true;", "if (read < static_cast<int>(kZipCopyPiece)) return true;",
     "unpacking ends at the first short piece and drops it", ["e2e_install_update"]),
    ("unpack_write_time", "starter/install/zip_extract.cpp",
     "::SetFileTime(out.Get(), &*time, nullptr, &*time);",
     "::SetFileTime(out.Get(), &*time, nullptr, nullptr);",
     "unpacked files keep the unpack time as their write time", ["e2e_install_update"]),
    ("verify_time_inverted", "starter/install/package_verify.cpp",
     "if (!SameLocalMinute(found_time, record.time)) {",
     "if (SameLocalMinute(found_time, record.time)) {",
     "the verification reports every well-timed file as mismatched", ["e2e_old_format"]),
    ("home_not_recorded", "starter/settings/install_folder_settings.cpp",
     'if (status == ERROR_SUCCESS) status = SetTextValue(key.Get(), "Home", language_folder_);',
     'if (status != ERROR_SUCCESS) status = SetTextValue(key.Get(), "Home", language_folder_);',
     "the registry record lacks the install folder", ["e2e_install_update"]),
    ("uninstall_string_missing", "starter/shell/shell_records.cpp",
     'if (result == ERROR_SUCCESS) result = SetTextValue(key.Get(), "UninstallString", '
     'uninstaller);',
     'if (result != ERROR_SUCCESS) result = SetTextValue(key.Get(), "UninstallString", '
     'uninstaller);',
     "the uninstall entry has no uninstall command", ["e2e_install_update"]),
    ("k401e_letter_off_by_one", "starter/startup/startup_messages.cpp",
     "record.first_gamestring[static_cast<std::size_t>(letter)] = 'H';",
     "record.first_gamestring[static_cast<std::size_t>(letter) - 1] = 'H';",
     "the launch-string rewrite turns the wrong k401e letter into H", ["e2e_install_update"]),
    ("own_version_halves_swapped", "starter/self_update/self_update.cpp",
     "PackedVersion{own.high, own.low}", "PackedVersion{own.low, own.high}",
     "the self-update compares its own version with the halves swapped", ["e2e_self_update"]),
    ("files_updated_step_number", "starter/driver/driver_install_steps.cpp",
     "SendStepLog(app_, driver_step::kFilesUpdated);",
     "SendStepLog(app_, driver_step::kFilesToCheck);",
     "the step log sends 238 where the files-updated 242 belongs", ["e2e_base_packages"]),
    ("no_countdown_on_relaunch", "starter/driver/driver_install_steps.cpp",
     "if (window_.CountdownLeft() > 0) {",
     "if (!nothing_to_do_ && window_.CountdownLeft() > 0) {",
     "a relaunch starts the game without the countdown", ["e2e_install_update"]),
    ("nokind_runs_bekind", "starter/startup/main.cpp",
     "if (plan.no_kind) RunNoKind(folder, app.flags().kind_mode);",
     "if (plan.no_kind) RunBeKind(folder);",
     "/nokind makes the marker instead of removing it", ["e2e_slash_commands"]),
    ("held_file_yes_goes_on", "starter/install/package_install.cpp",
     "if (answer != IDNO) EndProcess(context, -1);", "if (answer == IDNO) EndProcess(context, -1);",
     "Yes to the held-file question goes on instead of ending", ["e2e_held_file"]),
]


def run(args, timeout=None, **kw):
    """Runs `args` in a process group of its own, so an interruption or a
    timeout ends its Wine and Xvfb descendants too."""
    proc = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            start_new_session=True, **kw)
    try:
        out, _ = proc.communicate(timeout=timeout)
        return subprocess.CompletedProcess(args, proc.returncode, out)
    finally:
        if proc.poll() is None:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()


def fresh_prefix(build):
    prefix = os.path.join(build, "wineprefix")
    shutil.rmtree(prefix, ignore_errors=True)
    env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all",
               WINEDLLOVERRIDES="mshtml=d;mscoree=d")
    run([WINE, "wineboot", "-i"], env=env, timeout=300)
    run([WINESERVER, "-k"], env=env, timeout=60)
    run([WINESERVER, "-w"], env=env, timeout=60)
    return prefix, env


def run_tests(build, tests, timeout):
    # The scenarios copy a prefix of their own; only the other Wine tests run
    # in the build's shared prefix, which then must start clean.
    if all(t.startswith("e2e_") for t in tests):
        env = dict(os.environ, WINEDEBUG="-all")
    else:
        prefix, env = fresh_prefix(build)
        env["LD_WINEPREFIX"] = prefix
    pattern = "^(%s)$" % "|".join(tests)
    try:
        r = run(["xvfb-run", "-a", "-s", "-screen 0 1024x768x24", "ctest", "--test-dir", build,
                 "-R", pattern, "--timeout", str(timeout), "--output-on-failure"],
                env=env, timeout=timeout * len(tests) + 300)
        passed = r.returncode == 0 and "No tests were found" not in r.stdout
        return passed, r.stdout
    except subprocess.TimeoutExpired:
        return False, "ctest did not end in time"
    finally:
        if "LD_WINEPREFIX" in env:
            run([WINESERVER, "-k"], env=env, timeout=60)


def try_fault(src, build, fault, timeout, log):
    name, rel, old, new, _, tests = fault
    path = os.path.join(src, rel)
    original = open(path, encoding="utf-8").read()
    if original.count(old) != 1:
        return "broken", "the old text occurs %d times" % original.count(old)
    try:
        with open(path, "w", encoding="utf-8") as f:
            f.write(original.replace(old, new))
        b = run(["cmake", "--build", build, "--target"] + TARGETS)
        log.write("== %s build\n%s\n" % (name, b.stdout))
        if b.returncode != 0:
            return "broken", "does not build"
        passed, out = run_tests(build, tests, timeout)
        log.write("== %s tests\n%s\n" % (name, out))
        failed = [l.strip() for l in out.splitlines() if "***Failed" in l or "***Timeout" in l]
        return ("missed", "") if passed else ("caught", "; ".join(failed)[:160])
    finally:
        with open(path, "w", encoding="utf-8") as f:
            f.write(original)


def main():
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    ap.add_argument("--src", default=here)
    ap.add_argument("--build")
    ap.add_argument("--only", nargs="*")
    ap.add_argument("--list", action="store_true")
    ap.add_argument("--timeout", type=int, default=900, help="seconds per ctest test")
    a = ap.parse_args()
    faults = [f for f in FAULTS if not a.only or f[0] in a.only]
    if a.list:
        for name, rel, _, _, what, tests in faults:
            print("%-28s %-44s %s (%s)" % (name, rel, what, " ".join(tests)))
        return 0
    src = os.path.abspath(a.src)
    build = os.path.abspath(a.build or os.path.join(src, "build", "win64"))
    # Ctrl-C and a kill both end in the finally blocks that put files back.
    signal.signal(signal.SIGTERM, signal.default_int_handler)
    results = []
    try:
        with open(os.path.join(build, "starter_faults.log"), "w") as log:
            for fault in faults:
                t0 = time.time()
                verdict, detail = try_fault(src, build, fault, a.timeout, log)
                log.flush()
                results.append(verdict)
                print("%-7s %-28s %4.0f s  %s%s" % (verdict, fault[0], time.time() - t0,
                                                     fault[4], " [%s]" % detail if detail else ""))
                sys.stdout.flush()
    except KeyboardInterrupt:
        print("interrupted; the fault's file is restored")
        return 130
    finally:
        # The tree as it was, built again, so the build folder matches it.
        run(["cmake", "--build", build, "--target"] + TARGETS)
    print("%d of %d caught" % (results.count("caught"), len(results)))
    return 0 if results.count("caught") == len(results) else 1


if __name__ == "__main__":
    sys.exit(main())
