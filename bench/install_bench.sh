#!/bin/sh
# Installation benchmark (not a test; never run by ctest).
#
# Generates a game folder (1,000 files, 200 MB of mostly incompressible data
# in nested folders, mixed sizes, a few root programs), publishes it with the
# native `ldtool publish`, serves it with `ldtool serve` on loopback and then,
# in one run:
#   1. installs it under wine64 with the win64 install_bench.exe (the
#      starter's own update-list fetch, file check, two-worker download batch,
#      unpacking and verification), followed by a second, nothing-to-do check
#      of the same files;
#   2. as the native baseline, fetches the same zips with curl over two
#      parallel connections (two curl processes, each reusing its connection
#      for its half of the list) and unpacks each with `unzip -o -q` in the
#      same two lanes.
# Prints both times, their ratio (goal: Wine within 2x of native) and the
# re-check time, and checks both installed trees against the source.
#
# Environment (all optional):
#   LD_NATIVE_BUILD   native build folder        (default <repo>/build/native)
#   LD_WIN64_BUILD    win64 build folder         (default <repo>/build/win64)
#   LDTOOL            native ldtool              (default $LD_NATIVE_BUILD/tools/ldtool/ldtool)
#   LD_INSTALL_BENCH  the win64 bench program    (default $LD_WIN64_BUILD/bench/win/install_bench.exe)
#   LD_BENCH_WORK     scratch folder             (default $LD_WIN64_BUILD/install_bench)
#   LD_BENCH_FILES    file count                 (default 1000)
#   LD_BENCH_MB       total size in MiB          (default 200)
#   LD_BENCH_PHASES=1 also run the install in separate phases (download, then
#                     unpack on one thread) to show where the time goes
#   LD_BENCH_PROBE=N  also time a worker's steps one by one for N files
#                     (install_bench --probe) to show the cost per file
#   LD_BENCH_KEEP=1   keep the installed trees and the served zips
# The generated source folder is kept in the scratch folder and reused by
# later runs with the same file count and size.
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/scripts/portal.sh"
native_build=${LD_NATIVE_BUILD:-$repo/build/native}
win64_build=${LD_WIN64_BUILD:-$repo/build/win64}
ldtool=${LDTOOL:-$native_build/tools/ldtool/ldtool}
bench_exe=${LD_INSTALL_BENCH:-$win64_build/bench/win/install_bench.exe}
work=${LD_BENCH_WORK:-$win64_build/install_bench}
files=${LD_BENCH_FILES:-1000}
megabytes=${LD_BENCH_MB:-200}
wine=/usr/lib/wine/wine64
package=BENCHGAME

for need in "$ldtool" "$bench_exe" "$wine"; do
  if [ ! -e "$need" ]; then
    echo "install_bench.sh: missing $need (build ldtool natively and install_bench for win64)" >&2
    exit 2
  fi
done
for tool in curl unzip python3; do
  command -v "$tool" >/dev/null 2>&1 || { echo "install_bench.sh: $tool not found" >&2; exit 2; }
done

mkdir -p "$work"
work=$(cd "$work" && pwd)
source_dir=$work/source_${files}_${megabytes}
portal_root=$work/portal
wine_install=$work/wine_install
native_dl=$work/native_zips
native_install=$work/native_install
WINEPREFIX=$work/wineprefix
WINEDEBUG=-all
WINEDLLOVERRIDES="mshtml=d;mscoree=d;winemenubuilder.exe=d"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

server_pid=
cleanup() {
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  # Only this benchmark's own prefix.
  if [ -d "$WINEPREFIX" ]; then /usr/lib/wine/wineserver -k 2>/dev/null || true; fi
  if [ "${LD_BENCH_KEEP:-0}" != 1 ]; then
    rm -rf "$portal_root" "$wine_install" "$wine_install.lists" "$native_dl" "$native_install" \
      "$WINEPREFIX"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

now() { date +%s.%N; }
elapsed() { python3 -c "import sys; print('%.3f' % (float(sys.argv[2]) - float(sys.argv[1])))" "$1" "$2"; }

# --- The game folder (deterministic; reused when present). ---
if [ ! -f "$source_dir.complete" ]; then
  rm -rf "$source_dir"
  echo "generating $files files, $megabytes MiB in $source_dir"
  python3 - "$source_dir" "$files" "$megabytes" <<'EOF'
import os, random, sys, time

root, count, total = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]) * 1024 * 1024
rng = random.Random(20240611)
folders = ["data", "data/maps", "data/maps/town", "data/maps/field", "data/sound",
           "data/sound/voice", "gfx", "gfx/ui", "gfx/models", "gfx/models/npc", "scripts",
           "locale/ko", "locale/en"]
# A few program files in the root (their byte sums are measured by the check),
# many small files, a body of medium ones and a few large ones.
entries = [("", "game.exe"), ("", "launcher.exe")] + [("", "engine%02d.dll" % i) for i in range(8)]
while len(entries) < count:
    folder = rng.choice(folders)
    entries.append((folder, "file%04d.%s" % (len(entries), rng.choice(["dat", "pak", "bmp", "txt", "ogg"]))))
entries = entries[:count]
weights = []
for i in range(count):
    r = rng.random()
    if r < 0.60:
        weights.append(rng.uniform(0.5, 32))       # small: up to 32 KiB
    elif r < 0.90:
        weights.append(rng.uniform(32, 512))       # medium
    elif r < 0.99:
        weights.append(rng.uniform(512, 3072))     # large
    else:
        weights.append(rng.uniform(4096, 12288))   # a few very large
scale = total / sum(weights)
sizes = [max(1, int(w * scale)) for w in weights]
sizes[-1] += total - sum(sizes)
stamp = time.mktime((2021, 4, 5, 6, 7, 20, 0, 0, -1))
pattern = bytes(range(32, 127)) * 64
for (folder, name), size in zip(entries, sizes):
    directory = os.path.join(root, folder)
    os.makedirs(directory, exist_ok=True)
    path = os.path.join(directory, name)
    # Three quarters noise, one quarter text-like bytes: mostly incompressible.
    noise = size - size // 4
    body = rng.randbytes(noise) + (pattern * (size // 4 // len(pattern) + 1))[: size - noise]
    with open(path, "wb") as out:
        out.write(body)
    os.utime(path, (stamp, stamp))
EOF
  : >"$source_dir.complete"
fi
game=$source_dir

# --- The loopback portal. ---
rm -rf "$portal_root" && mkdir -p "$portal_root"
started=0
start_portal "$ldtool" "$portal_root" "$work/requests.jsonl" 1800 "$work/serve.out" || started=1
server_pid=$portal_pid
[ "$started" = 0 ] || exit 1
addr=$portal_addr

t0=$(now)
"$ldtool" publish --to "$portal_root" --package "$package" --from "$game" --version 1.5.0 \
  --downloadurl "http://$addr/dist" >"$work/publish.out" 2>&1 || {
  cat "$work/publish.out" >&2
  exit 1
}
t1=$(now)
zip_count=$(find "$portal_root/dist/$package" -type f -name '*.zip' | wc -l)
zip_bytes=$(find "$portal_root/dist/$package" -type f -name '*.zip' -printf '%s\n' | awk '{s += $1} END {print s}')
echo "portal: http://$addr  published $zip_count zips, $zip_bytes bytes in $(elapsed "$t0" "$t1") s"

# The portal's own cost per request on one reused connection, which both
# sides pay: a server that leaves Nagle's algorithm on answers each small
# file only after the client's delayed acknowledgement (about 40 ms).
portal_ms=$(cd "$portal_root/dist/$package" && find . -type f -name '*.zip' -size -8k | head -n 20 |
  sed "s|^\./\(.*\)$|url = \"http://$addr/dist/$package/\1\"\noutput = \"/dev/null\"|" |
  curl -s -K - -w '%{time_total}\n' | awk '{s += $1; n++} END {if (n) printf "%.2f", s / n * 1000}')
echo "portal_small_request_ms=$portal_ms (mean of up to 20 small files on one connection)"

# --- Wine: a fresh prefix, started once so its set-up is not timed. ---
rm -rf "$WINEPREFIX"
"$wine" "$bench_exe" >/dev/null 2>&1 || true
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }

rm -rf "$wine_install" "$wine_install.lists"
t0=$(now)
set +e
"$wine" "$bench_exe" "$addr" "$package" "$(winpath "$wine_install")" >"$work/wine.out" \
  2>"$work/wine.err"
wine_status=$?
set -e
t1=$(now)
wine_process=$(elapsed "$t0" "$t1")
tr -d '\r' <"$work/wine.out" >"$work/wine.kv"
value() { sed -n "s/^$1=//p" "$2" | head -n 1; }
if [ "$wine_status" -ne 0 ]; then
  echo "install_bench.sh: the wine install reported problems (status $wine_status):" >&2
  head -n 20 "$work/wine.err" >&2
fi

# --- Native baseline: curl on two connections, unzip in the same lanes. ---
rm -rf "$native_dl" "$native_install"
mkdir -p "$native_dl" "$native_install"
(cd "$portal_root/dist/$package" && find . -type f -name '*.zip' | sed 's|^\./||' | sort) \
  >"$work/zips.txt"
for lane in 0 1; do
  : >"$work/lane$lane.curl"
  : >"$work/lane$lane.unzip"
done
awk -v dl="$native_dl" -v inst="$native_install" -v base="http://$addr/dist/$package" -v work="$work" '
  {
    lane = (NR - 1) % 2
    dir = $0; sub(/\/?[^\/]*$/, "", dir)
    printf "url = \"%s/%s\"\noutput = \"%s/%s\"\n", base, $0, dl, $0 > (work "/lane" lane ".curl")
    printf "%s/%s\t%s/%s\n", dl, $0, inst, dir > (work "/lane" lane ".unzip")
  }' "$work/zips.txt"

run_lane() {
  curl -s -S --fail --create-dirs -K "$work/lane$1.curl" || return 1
  while IFS="	" read -r zip dir; do
    unzip -o -q "$zip" -d "$dir" || return 1
  done <"$work/lane$1.unzip"
}
t0=$(now)
# The starter creates every target folder while it builds its list.
cut -f 2 "$work/lane0.unzip" "$work/lane1.unzip" | sort -u | xargs mkdir -p
run_lane 0 &
lane0=$!
run_lane 1 &
lane1=$!
native_status=0
wait "$lane0" || native_status=1
wait "$lane1" || native_status=1
rm -rf "$native_dl"
t1=$(now)
native_seconds=$(elapsed "$t0" "$t1")
[ "$native_status" -eq 0 ] || echo "install_bench.sh: the native baseline failed" >&2

# --- Both trees must equal the source. ---
wine_tree=same
diff -rq "$game" "$wine_install" >"$work/wine.diff" 2>&1 || wine_tree="DIFFERS (see $work/wine.diff)"
native_tree=same
diff -rq "$game" "$native_install" >"$work/native.diff" 2>&1 || native_tree="DIFFERS (see $work/native.diff)"

# --- Optional: where the time goes. ---
if [ -n "${LD_BENCH_PROBE:-}" ]; then
  rm -rf "$work/probe_install" "$work/probe_install.lists"
  "$wine" "$bench_exe" "$addr" "$package" "$(winpath "$work/probe_install")" --probe \
    "$LD_BENCH_PROBE" >"$work/probe.out" 2>"$work/probe.err" || true
  tr -d '\r' <"$work/probe.out" | grep '^probe_' >"$work/probe.kv" || true
  rm -rf "$work/probe_install" "$work/probe_install.lists"
fi
if [ "${LD_BENCH_PHASES:-0}" = 1 ]; then
  rm -rf "$work/phases_install" "$work/phases_install.lists"
  "$wine" "$bench_exe" "$addr" "$package" "$(winpath "$work/phases_install")" --phases \
    >"$work/phases.out" 2>"$work/phases.err" || true
  tr -d '\r' <"$work/phases.out" >"$work/phases.kv"
  [ "${LD_BENCH_KEEP:-0}" = 1 ] || rm -rf "$work/phases_install" "$work/phases_install.lists"
fi

wine_install_seconds=$(value check_and_install_seconds "$work/wine.kv")
ratio=$(python3 -c "import sys; a, b = float(sys.argv[1] or 0), float(sys.argv[2]); print('%.2f' % (a / b if b else 0))" \
  "$wine_install_seconds" "$native_seconds")
goal=$(python3 -c "import sys; print('met' if 0 < float(sys.argv[1]) <= 2 else 'MISSED')" "$ratio")

echo "files=$(value files "$work/wine.kv") bytes=$(value bytes "$work/wine.kv") zip_bytes=$(value zip_bytes "$work/wine.kv")"
echo "wine_list_seconds=$(value list_seconds "$work/wine.kv")"
echo "wine_check_seconds=$(value check_seconds "$work/wine.kv")"
echo "wine_install_seconds=$(value install_seconds "$work/wine.kv")"
echo "wine_check_and_install_seconds=$wine_install_seconds"
echo "wine_process_seconds=$wine_process (whole wine64 run: start, list, install, re-check)"
echo "wine_display_updates=$(value display_updates "$work/wine.kv")"
echo "native_curl_unzip_seconds=$native_seconds"
echo "ratio=$ratio (goal <= 2: $goal)"
echo "recheck_seconds=$(value recheck_seconds "$work/wine.kv")"
echo "recheck_files_to_download=$(value recheck_files_to_download "$work/wine.kv")"
echo "wine_tree=$wine_tree native_tree=$native_tree"
if [ "${LD_BENCH_PHASES:-0}" = 1 ]; then
  echo "phase_download_seconds=$(value phase_download_seconds "$work/phases.kv")"
  echo "phase_extract_seconds=$(value phase_extract_seconds "$work/phases.kv") (one thread)"
  echo "phase_delete_zips_seconds=$(value phase_delete_zips_seconds "$work/phases.kv")"
fi
if [ -n "${LD_BENCH_PROBE:-}" ]; then cat "$work/probe.kv"; fi
[ "$wine_status" -eq 0 ] && [ "$native_status" -eq 0 ] && [ "$wine_tree" = same ] &&
  [ "$native_tree" = same ]
