#!/usr/bin/env bash
# The main job: builds the native tools and walks through what the portal and
# the starter do with them: read a launch string, publish a game folder as a
# download-server tree, read its update list and catalogue back, decide every
# file of an install folder, and serve the tree on loopback for one request.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
. scripts/portal.sh
bash scripts/bootstrap.sh
cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)" --target ldtool
ldtool="$repo/build/native/tools/ldtool/ldtool"
run() { echo "\$ ldtool $*"; "$ldtool" "$@"; echo; }

sample='ludoria://P=&P0=bHVkb19raW0=&P1=VGFibGE=&P2=MTAyNA==&P4=eyJhbGciOiJIUzI1NiJ9.a1b2c3&P8=wid-7f3a9c&P189=1&shutdown=MjAyNi0xMi0wNiAyMDoxNTowMA=='
run gamestring dump "$sample"
run gamestring zone "$sample"

# A small game folder, published as the download server would hold it.
demo="$repo/build/demo"
rm -rf "$demo"
mkdir -p "$demo/game/data" "$demo/game/Sysfiles"
printf 'MZ demo executable\n' >"$demo/game/tabla.exe"
head -c 200000 /dev/urandom >"$demo/game/data/board.pak"
printf '[options]\nsound=1\n' >"$demo/game/data/tabla.cfg"
: >"$demo/game/Sysfiles/empty.dat"

find "$demo/game" -type f -exec touch -d '2026-12-01 10:30:00' {} +
run publish --package tabla --from "$demo/game" --to "$demo/portal" --game TABLA \
  --base TABLA --popup --downloadurl http://127.0.0.1/dist
find "$demo/portal" -type f | sed "s|$demo/||" | sort
echo
run hul dump "$demo/portal/hul/newhul/tabla.hul"
run catalogue dump "$demo/portal/hul/newhul/gamekind.ini" --game TABLA --name Tabla

# The install folder as the starter would leave it, then one file changed.
cp -a "$demo/game" "$demo/installed"
run hul check "$demo/portal/hul/newhul/tabla.hul" --dir "$demo/installed"
printf 'MZ demo Executable\n' >"$demo/installed/tabla.exe"
touch -d '2026-12-01 10:30:00' "$demo/installed/tabla.exe"
run hul check "$demo/portal/hul/newhul/tabla.hul" --dir "$demo/installed" || true

# Serve the tree on loopback and fetch the update list once.
started=0
start_portal "$ldtool" "$demo/portal" "$demo/requests.jsonl" 30 "$demo/serve.out" || started=1
server=$portal_pid
trap 'kill $server 2>/dev/null || true' EXIT
[ "$started" = 0 ] || exit 1
address=$portal_addr
echo "\$ curl http://$address/hul/newhul/tabla.hul"
curl -sS "http://$address/hul/newhul/tabla.hul"
kill $server
echo
echo "request log:"
cat "$demo/requests.jsonl"
