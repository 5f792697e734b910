#!/usr/bin/env python3
"""The main job, shown: publish and serve a sample game, run ldstarter.exe
under wine64 (in the virtual display scripts/demo.sh starts), press Enter at
the folder page, save a picture of the download page, print what the game got.

  demo.py LDTOOL LDSTARTER_EXE RECORDING_GAME_EXE UI_PROBE_EXE WORK
"""
import os
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import GAME_ID, Scenario, Tools, new_format_launch, wait_for_folder_page


def main(argv):
    tools = Tools(*[os.path.abspath(a) for a in argv[1:6]])
    shot = os.path.join(tools.work, "download_page.bmp")
    with Scenario(tools, "demo", keep=True) as s:
        s.start_portal()
        print("portal: http://%s (requests in %s)" % (s.addr, s.log))
        # A game big enough that its download page stays up for a picture.
        s.make_game({"data/board.pak": os.urandom(4 << 20), "data/music.pak": os.urandom(4 << 20),
                     "data/rules.txt": b"three in a row\r\n"})
        s.publish(GAME_ID, None, "--no-base2005")
        s.publish_starter("19.0.7.14")
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
        code, _ = s.run_starter(s.place_starter(), launch, timeout=240)
        helper.join(120)
        print("ldstarter.exe ended with %d after %.1f s" % (code, time.time() - t0))
        starts = s.game_starts()
        if not starts:
            print("the game was not started")
            return 1
        print("the game started in: %s\nthe game received:   %s" % starts[-1])
        print("step log: %s" % s.steps())
        if os.path.exists(shot):
            try:
                from PIL import Image
                Image.open(shot).save(shot[:-4] + ".png")
                shot = shot[:-4] + ".png"
            except Exception:
                pass
            print("download page picture: " + shot)
        return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
