#!/usr/bin/env bash
# The main job: builds the native tools and shows ldtool reading a launch
# string the way the starter does.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
bash scripts/bootstrap.sh
cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)" --target ldtool
ldtool="$repo/build/native/tools/ldtool/ldtool"
sample='ludoria://P=&P0=bHVkb19raW0=&P1=VGFibGE=&P2=MTAyNA==&P4=eyJhbGciOiJIUzI1NiJ9.a1b2c3&P8=wid-7f3a9c&P189=1&shutdown=MjAyNi0xMi0wNiAyMDoxNTowMA=='
echo "\$ ldtool gamestring dump '$sample'"
"$ldtool" gamestring dump "$sample"
echo "\$ ldtool gamestring zone '$sample'"
"$ldtool" gamestring zone "$sample"
