#!/usr/bin/env python3
"""Benchmark of the whole program (not a test; never run by ctest).

  starter_bench.py LDTOOL LDSTARTER_EXE RECORDING_GAME_EXE UI_PROBE_EXE WORK [FILES MB]

Publishes a generated game (default 1,000 files, 200 MB of incompressible data
in nested folders), serves it with `ldtool serve` and, in one run:
  1. installs it with the real ldstarter.exe under wine64 on a virtual display
     (window, driver, two download workers, unpacking, verification, records)
     and times from the Enter at the folder page to the game's start. Enter
     is pressed only once the countdown that holds the game start is surely
     over, and the time starts when the probe that pressed it has ended, so
     neither the countdown nor the probe's own start counts. The CPU time of
     the starter and of Wine's server over the same span is printed too: on a
     shared machine it varies far less than the wall time;
  2. as the native baseline, fetches the same zips with curl on two
     connections and unpacks them with unzip in the same two lanes;
  3. relaunches the starter with nothing to do and times from the process
     start to the game's start, minus the countdown the design holds the game
     for (the web-panel fallback and the countdown itself), with Wine's
     windows unmanaged (see below).
Run it inside xvfb-run. Prints the figures and the ratio (goal: within 2x).

Where Wine's figure goes (profiled with perf and wineserver -d2): about half
of the server calls of each zip, and a quarter to a third of the install's
time, are WinINet's look-ups of stored cookies. It looks in the URL cache for
every parent domain and path prefix of the address (nine look-ups here), each
mapping and unmapping the cache index under a lock that both lanes take.
curl sends no cookies. The download requests keep their cookies on purpose
(the download servers may rely on the browser's cookies), so the gap stays.
"""
import os
import random
import resource
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from e2e_support import (GAME_ID, WINE, WINESERVER, Scenario, Tools, new_format_launch,
                         wait_for_folder_page)

# The window waits this long for its web panels before the countdown starts,
# and the countdown then runs this long when no panel loaded (as under Wine).
PANEL_FALLBACK_S = 3.0
COUNTDOWN_S = 7.0
# From the process start, the countdown is over by then (the start-up to the
# first panel check, the panel fallback and the countdown, with room).
COUNTDOWN_OVER_S = 14.0


def unmanage_windows(s):
    """Xvfb has no window manager, so Wine's X11 driver waits 2 s for one to
    confirm that the logo window was withdrawn (its "wait timed out" fixme)
    before the start-up goes on; Windows has no such wait. Unmanaged windows
    leave it out of the program's figures."""
    s.boot_prefix()
    subprocess.run([WINE, "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed",
                    "/d", "N", "/f"], env=s.env, capture_output=True, timeout=120)
    subprocess.run([WINESERVER, "-w"], env=s.env, timeout=120)


def generate(folder, files, megabytes):
    rng = random.Random(7)
    total = megabytes << 20
    sizes = [rng.choice([2_000, 20_000, 150_000, 600_000]) for _ in range(files)]
    scale = total / sum(sizes)
    for i, size in enumerate(sizes):
        rel = "data/d%02d/s%02d/f%04d.bin" % (i % 20, (i // 20) % 10, i)
        path = os.path.join(folder, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(os.urandom(max(1, int(size * scale))))
        os.utime(path, (1764585000, 1764585000))


def _cpu_seconds(pid, task=None):
    """User + system CPU seconds of a process (its ended threads included) or
    of one of its threads; None once it is gone."""
    path = "/proc/%d/task/%d/stat" % (pid, task) if task else "/proc/%d/stat" % pid
    try:
        fields = open(path).read().rsplit(")", 1)[1].split()
    except OSError:
        return None
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def _wine_pids(prefix, name):
    """Processes of this run's Wine prefix whose program name holds `name`
    (not the Wine loader that started them, which names them as argument)."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            cmdline = open("/proc/%s/cmdline" % entry, "rb").read()
            environ = open("/proc/%s/environ" % entry, "rb").read()
        except OSError:
            continue
        program = cmdline.split(b"\0")[0]
        if name.encode() in program and b"WINEPREFIX=%s\0" % prefix.encode() in environ:
            found.append(int(entry))
    return found


class CpuMeter:
    """CPU time the starter (all its threads) and the prefix's wineserver
    spend between start() and stop(): wall time on a shared machine is noisy,
    CPU time much less so. The starter's main (window) thread is shown on its
    own, as the first thread of the process."""

    def __init__(self, prefix):
        self.prefix = prefix
        self.pids = None
        self.first = None
        self.figures = None

    def _sample(self):
        starter, server = self.pids
        values = (_cpu_seconds(starter), _cpu_seconds(starter, starter), _cpu_seconds(server))
        return None if None in values else values

    def start(self):
        starter = _wine_pids(self.prefix, "ldstarter.exe")
        server = _wine_pids(self.prefix, "wineserver")
        if len(starter) == 1 and server:
            # A server that is still ending from an earlier run has the
            # lower process id.
            self.pids = (starter[0], max(server))
            self.first = self._sample()

    def poll(self):
        """Keeps the latest sample: the starter may end before stop()."""
        last = self._sample() if self.first else None
        if last:
            self.figures = tuple(b - a for a, b in zip(self.first, last))

    def text(self):
        if not self.figures:
            return "cpu: not measured"
        return ("cpu_seconds: starter=%.2f (window thread %.2f) wineserver=%.2f" %
                self.figures)


def native_baseline(s, work):
    dist = os.path.join(s.root, "dist", GAME_ID)
    zips = sorted(os.path.relpath(os.path.join(r, n), dist)
                  for r, _, names in os.walk(dist) for n in names if n.endswith(".zip"))
    download, install = os.path.join(work, "native_dl"), os.path.join(work, "native_install")
    subprocess.run(["rm", "-rf", download, install])
    lanes = []
    for lane in (0, 1):
        mine = zips[lane::2]
        config = os.path.join(work, "lane%d.curl" % lane)
        with open(config, "w") as f:
            for z in mine:
                f.write('url = "http://%s/dist/%s/%s"\noutput = "%s/%s"\n' %
                        (s.addr, GAME_ID, z, download, z))
        script = "curl -s -S --fail --create-dirs -K %s && " % config + " && ".join(
            "unzip -o -q %s/%s -d %s/%s" % (download, z, install, os.path.dirname(z) or ".")
            for z in mine)
        lanes.append(script)
    t0 = time.time()
    # The starter makes every target folder while it builds its list.
    for folder in sorted({os.path.dirname(z) for z in zips}):
        os.makedirs(os.path.join(install, folder), exist_ok=True)
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    procs = [subprocess.Popen(["sh", "-c", lane]) for lane in lanes]
    ok = all(p.wait() == 0 for p in procs)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime
    return time.time() - t0, cpu, ok


def main(argv):
    tools = Tools(*[os.path.abspath(a) for a in argv[1:6]])
    files = int(argv[6]) if len(argv) > 6 else 1000
    megabytes = int(argv[7]) if len(argv) > 7 else 200
    s = Scenario(tools, "starter_bench")
    try:
        s.start_portal()
        s.make_game({"readme.txt": b"bench\r\n"})
        generate(s.game_dir, files, megabytes)
        s.publish(GAME_ID, None, "--no-base2005")
        s.publish_starter("19.0.7.14")
        program = s.place_starter()
        launch = new_format_launch()
        record = os.path.join(s.install_folder(), "started.txt")
        pressed = {}
        cpu = CpuMeter(s.prefix)
        # Unmanaged windows from the start (see the relaunch below).
        unmanage_windows(s)

        def user():
            wait_for_folder_page(s, 120)
            # The countdown the game start waits for runs while the folder
            # page shows; pressing Enter only once it is surely over keeps it
            # out of the install's figure however fast the install is.
            time.sleep(max(0.0, started + COUNTDOWN_OVER_S - time.time()))
            cpu.start()
            # The key is posted just before the probe ends; its start (a Wine
            # process) is no part of the install.
            s.probe("key class:LDSTART enter\n")
            pressed["at"] = time.time()
            while not os.path.exists(record) and time.time() < pressed["at"] + 1200:
                cpu.poll()
                time.sleep(0.01)
            cpu.poll()

        started = time.time()
        helper = threading.Thread(target=user)
        helper.start()
        s.run_starter(program, launch, timeout=1200)
        helper.join(60)
        if "at" not in pressed or not os.path.exists(record):
            print("the install did not finish")
            return 1
        install_s = os.path.getmtime(record) - pressed["at"]
        native_s, native_cpu_s, ok = native_baseline(s, s.dir)
        t0 = time.time()
        s.run_starter(program, launch, timeout=300)
        relaunch_s = os.path.getmtime(record) - t0
        print("files=%d megabytes=%d" % (files + 2, megabytes))
        print("starter_install_seconds=%.2f (Enter at the folder page to the game's start)" %
              install_s)
        print(cpu.text() + " (Enter to the game's start)")
        print("native_curl_unzip_seconds=%.2f%s (cpu_seconds %.2f)" %
              (native_s, "" if ok else " (FAILED)", native_cpu_s))
        print("ratio=%.2f (goal <= 2)" % (install_s / native_s if native_s else 0))
        print("relaunch_seconds=%.2f (process start to game start), without the countdown %.2f" %
              (relaunch_s, relaunch_s - PANEL_FALLBACK_S - COUNTDOWN_S))
        return 0
    finally:
        s.close()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
