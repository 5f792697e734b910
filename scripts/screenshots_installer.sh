#!/usr/bin/env bash
# Pictures of every state of ManCpLdStarter, in Korean and in English, for
# docs/screenshots/installer_<state>[_en].png. Runs the installer's end-to-end
# test with its picture switch on; needs the native ldtool and the win64
# build (scripts/test.sh builds both) and Pillow (python3-pil).
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$repo/build/win64"
out="$repo/docs/screenshots"
shots="$(mktemp -d)"
trap 'rm -rf "$shots"' EXIT
mkdir -p "$out"

export WINE_RUN="$build/wine_run.sh" INSTALLER="$build/installer/ManCpLdStarter.exe"
export UI_PROBE="$build/tests/ui_probe/ui_probe.exe" HOLD_OPEN="$build/tests/e2e/file_holder.exe"
export CARRIED_STARTER="$build/starter/startup/ldstarter.exe" LDTOOL="$repo/build/native/tools/ldtool/ldtool"
export INSTALLER_VERSION
INSTALLER_VERSION="$(sed -n 's/^project([^)]*VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")"
export LD_WINEPREFIX="${LD_WINEPREFIX:-$build/wineprefix}"

for language in ko en; do
  mkdir -p "$shots/$language"
  LD_TEST_LANGUAGE=$language LD_INSTALLER_SHOTS="$shots/$language" \
    xvfb-run -a -s "-screen 0 1024x768x24" python3 "$repo/tests/installer/installer_test.py"
done
/usr/bin/python3 - "$shots" "$out" <<'PY'
import glob, os, sys
from PIL import Image
shots, out = sys.argv[1:]
for language, suffix in (("ko", ""), ("en", "_en")):
    for bmp in sorted(glob.glob(os.path.join(shots, language, "*.bmp"))):
        name = os.path.splitext(os.path.basename(bmp))[0] + suffix + ".png"
        Image.open(bmp).save(os.path.join(out, name), optimize=True)
        print(os.path.join("docs/screenshots", name))
PY
