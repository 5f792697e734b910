#!/usr/bin/env python3
"""The main job, shown: publish a sample game, serve it on loopback, run
ldstarter.exe under wine64 with a launch string, press Enter at the folder
page, save a picture of the download page and print what the game received.

  demo.py LDTOOL LDSTARTER_EXE RECORDING_GAME_EXE UI_PROBE_EXE WORK

Runs inside a virtual display (scripts/demo.sh starts one).
"""
import os
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import GAME_ID, Scenario, Tools, new_format_launch, wait_for_folder_page


def main(argv):
    tools = Tools(*[os.path.abspath(a) for a in argv[1:6]])
    s = Scenario(tools, "demo")
    shot = os.path.join(tools.work, "download_page.bmp")
    try:
        s.start_portal()
        print("portal: http://%s (requests in %s)" % (s.addr, s.log))
        # A game big enough that its download page stays up for a picture.
        s.make_game({"data/board.pak": os.urandom(4 << 20), "data/music.pak": os.urandom(4 << 20),
                     "data/rules.txt": b"three in a row\r\n"})
        s.publish(GAME_ID, None, "--no-base2005")
        s.publish_starter("19.0.7.14")
        program = s.place_starter()
        launch = new_format_launch()
        print("launch string: " + launch)

        def user():
            wait_for_folder_page(s)
            print("folder page shown; pressing Enter")
            s.probe("key class:LDSTART enter\nsleep 400\nshot class:LDSTART Z:%s\n" %
                    shot.replace("/", "\\"))

        helper = threading.Thread(target=user)
        helper.start()
        t0 = time.time()
        code, _ = s.run_starter(program, launch, timeout=240)
        helper.join(120)
        print("ldstarter.exe ended with %d after %.1f s" % (code, time.time() - t0))
        starts = s.game_starts()
        if not starts:
            print("the game was not started")
            return 1
        print("the game started in: " + starts[-1][0])
        print("the game received:   " + starts[-1][1])
        print("step log: %s" % s.steps())
        if os.path.exists(shot):
            try:
                from PIL import Image
                png = shot[:-4] + ".png"
                Image.open(shot).save(png)
                shot = png
            except Exception:
                pass
            print("download page picture: " + shot)
        return 0
    finally:
        s.close()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
