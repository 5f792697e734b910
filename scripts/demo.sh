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
sample='ludoria://P=&P1=20450&P2=1024&P3=Ludoria%20Tabla&P7=base64&PK=1234567890abcdef'
echo "\$ ldtool gamestring dump '$sample'"
"$ldtool" gamestring dump "$sample"
echo "\$ ldtool gamestring zone '$sample'"
"$ldtool" gamestring zone "$sample"
