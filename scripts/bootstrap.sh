#!/usr/bin/env bash
# Installs everything the builds and tests need on a Debian 12 machine and
# prepares the sources of the cross-compiled dependencies. Safe to run again:
# it skips what is already there.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
src_dir="${LD_DEPS_SRC:-$repo/build/_deps-src}"

packages=(
  build-essential cmake ninja-build pkg-config dpkg-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
  wine64 xvfb xauth
  googletest libgtest-dev libbenchmark-dev
  libjsoncpp-dev libminizip-dev zlib1g-dev libcpp-httplib-dev libssl-dev
  zip unzip curl python3 clang-format git
  python3-pil fonts-dejavu-core fonts-nanum
  clang libclang-rt-14-dev
)

sudo_cmd=()
if [ "$(id -u)" != 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
    --no-install-recommends "${missing[@]}"
fi

# The mingw compilers come in two thread models; the posix one gives the
# standard library's threads and mutexes, which core relies on.
for t in i686 x86_64; do
  command -v "$t-w64-mingw32-g++-posix" >/dev/null || {
    echo "bootstrap: $t-w64-mingw32-g++-posix is missing" >&2
    exit 1
  }
done

# jsoncpp and minizip for the Windows builds are compiled from Debian's source
# packages. A private apt state turns the system's own binary entries into
# source entries, so the machine's apt configuration stays untouched.
fetch_sources() {
  local work
  work="$(mktemp -d)"
  mkdir -p "$work/lists/partial" "$work/parts"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      >"$work/parts/src.sources"
  else
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$work/parts/src.list"
  fi
  local apt_opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$work/parts"
    -o "Dir::State::Lists=$work/lists")
  apt-get "${apt_opts[@]}" update -qq
  mkdir -p "$src_dir/dl"
  (cd "$src_dir/dl" && apt-get "${apt_opts[@]}" source --download-only libjsoncpp minizip)
  rm -rf "$work"
}

extract() { # extract <glob of .dsc> <dest>
  local dsc
  dsc="$(ls "$src_dir"/dl/$1 | head -n1)"
  rm -rf "$src_dir/$2.tmp"
  dpkg-source -x --no-check "$dsc" "$src_dir/$2.tmp" >/dev/null
  mv "$src_dir/$2.tmp" "$src_dir/$2"
}

if [ ! -f "$src_dir/jsoncpp/include/json/json.h" ] || [ ! -f "$src_dir/minizip/unzip.c" ]; then
  if ! ls "$src_dir"/dl/libjsoncpp_*.dsc >/dev/null 2>&1 ||
    ! ls "$src_dir"/dl/minizip_*.dsc >/dev/null 2>&1; then
    fetch_sources
  fi
  [ -f "$src_dir/jsoncpp/include/json/json.h" ] || extract 'libjsoncpp_*.dsc' jsoncpp
  [ -f "$src_dir/minizip/unzip.c" ] || extract 'minizip_*.dsc' minizip
fi
echo "bootstrap: ready (cross sources in $src_dir)"
