#!/usr/bin/env bash
# The main job: builds ldtool (native) and ldstarter (win64), publishes a
# sample game, serves it on loopback with `ldtool serve`, runs ldstarter.exe
# under wine64 on a virtual display with a launch string, presses Enter at the
# folder page, saves a picture of the download page and prints what the game
# received. Everything stays in build/demo; every wait has a time limit.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
bash scripts/bootstrap.sh
jobs=$(nproc)
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs" --target ldtool
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs" --target ldstarter recording_game ui_probe

work="$repo/build/demo"
rm -rf "$work"
mkdir -p "$work"
# Debian's own interpreter has Pillow (bootstrap), which turns the picture
# into a PNG.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
timeout 600 xvfb-run -a -s "-screen 0 1024x768x24" "$python" tests/e2e/demo.py \
  build/native/tools/ldtool/ldtool build/win64/starter/startup/ldstarter.exe \
  build/win64/tests/e2e/recording_game.exe build/win64/tests/ui_probe/ui_probe.exe "$work"
