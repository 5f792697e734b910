#!/usr/bin/env bash
# Builds everything and runs every test: natively (also under the sanitizers,
# then a bounded fuzzing run of core), then the win64 build under
# wine64 (in a fresh Wine prefix, with a virtual display), and checks that the
# shipping win32 build compiles and links.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
jobs="${LD_JOBS:-$(nproc)}"

bash scripts/bootstrap.sh

status=0
echo "== layering and format"
python3 scripts/check_layering.py || status=1
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror || status=1

echo "== native: configure, build, test"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs" || status=1

echo "== native under AddressSanitizer and UndefinedBehaviorSanitizer: configure, build, test"
cmake --preset native-asan >/dev/null
cmake --build --preset native-asan -j "$jobs"
ctest --preset native-asan -j "$jobs" || status=1

echo "== fuzzing core"
bash scripts/fuzz.sh || status=1

echo "== win64: configure, build, test under wine64"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"
prefix="$repo/build/win64/wineprefix"
rm -rf "$prefix"
export LD_WINEPREFIX="$prefix"
# Wine's first start in a new prefix takes a few seconds; do it once up front.
WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mshtml=d;mscoree=d" \
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
# End that first session: its desktop process started without a display, and
# windows of later programs in the same session would never reach the screen.
WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w 2>/dev/null || true
xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset win64 -j "$jobs" || status=1
WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true

# The test programs are built too (not run: this kernel cannot start 32-bit
# programs), so every object of the Windows layer links for the shipping target.
echo "== win32 (shipping build): configure, build"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
# Only known DLLs in the shipping programs' import tables (the win64 ones are
# checked by ctest above).
python3 scripts/check_imports.py build/win32/starter/startup/ldstarter.exe \
  build/win32/installer/ManCpLdStarter.exe || status=1

if [ "$status" = 0 ]; then echo "all tests passed"; else echo "some tests FAILED"; fi
exit "$status"
