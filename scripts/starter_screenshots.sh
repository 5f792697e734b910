#!/usr/bin/env bash
# Photographs the starter's windows (the logo window and the four pages of the
# installation window) in English and in Korean under wine64 on a virtual
# display, and writes them as PNG files to docs/screenshots/starter_*.png.
# Needs the win64 build of ui_showcase and ui_probe, and Python Pillow.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${LD_WIN64_BUILD:-$repo/build/win64}"
out="$repo/docs/screenshots"
showcase="$build/tests/win/ui_showcase.exe"
probe="$build/tests/ui_probe/ui_probe.exe"
for f in "$showcase" "$probe"; do
  [ -f "$f" ] || { echo "missing $f (cmake --build --preset win64 --target ui_showcase ui_probe)" >&2; exit 1; }
done

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

export WINEPREFIX="${LD_WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mshtml=d;mscoree=d;winemenubuilder.exe=d"
wine=/usr/lib/wine/wine64
# Debian's Python carries Pillow (python3-pil), whichever python3 comes first.
py="${PYTHON:-/usr/bin/python3}"
mkdir -p "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

shoot() { # shoot LANG LABEL VIEW CLASS [ARGS...]
  local lang="$1" label="$2" view="$3" class="$4"
  shift 4
  LANG="$lang" LC_ALL="$lang" timeout 60 "$wine" "$showcase" "$view" "$@" &
  local pid=$!
  LANG="$lang" LC_ALL="$lang" timeout 30 "$wine" "$probe" wait "class:$class" 20000 >/dev/null
  sleep 1.5  # let the page and its pictures settle
  local name="starter_${view}${1:+_$1}_${label}"
  LANG="$lang" LC_ALL="$lang" timeout 30 "$wine" "$probe" shot "class:$class" "$tmp/$name.bmp" >/dev/null
  LANG="$lang" LC_ALL="$lang" timeout 30 "$wine" "$probe" close "class:$class" >/dev/null || true
  wait "$pid" || true
  "$py" -c 'import sys; from PIL import Image; Image.open(sys.argv[1]).save(sys.argv[2])' \
    "$tmp/$name.bmp" "$out/$name.png"
  echo "$out/$name.png"
}

for pair in C.UTF-8:en ko_KR.UTF-8:ko; do
  lang="${pair%%:*}" label="${pair##*:}"
  shoot "$lang" "$label" logo DEFAULTCLASS
  shoot "$lang" "$label" folder LDSTART
  shoot "$lang" "$label" download LDSTART
  shoot "$lang" "$label" message LDSTART
  shoot "$lang" "$label" run LDSTART kind test
done
"$(dirname "$wine")/wineserver" -k 2>/dev/null || true
