#!/bin/sh
# Runs a Windows test program with the loopback portal (`ldtool serve`) up:
#   with_portal.sh LDTOOL RUNNER PROGRAM [ARGS...]
# LDTOOL is the native ldtool, RUNNER the wine wrapper (empty: run PROGRAM
# directly). The test sees LD_TEST_PORTAL=127.0.0.1:PORT and
# LD_TEST_REQUEST_LOG=<request log, one JSON line per request>, its HTTPS
# listener LD_TEST_PORTAL_HTTPS=127.0.0.1:PORT, the served
# folder LD_TEST_PORTAL_ROOT and the tool itself LD_TEST_LDTOOL, plus a
# member id scrambled by ldtool (LD_TEST_SCRAMBLED_ID, of 'tester 01@ludo.kr') so the
# starter's unscrambling is checked against the portal side's table.
# Without a usable ldtool the program runs without them and its portal tests
# skip. The server is always stopped, and stops by itself in any case.
set -u
. "$(dirname "$0")/../../scripts/portal.sh"
ldtool=$1
runner=$2
shift 2

if [ ! -x "$ldtool" ]; then
  echo "with_portal.sh: no native ldtool at $ldtool; tests needing the portal skip" >&2
  exec ${runner:+"$runner"} "$@"
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/ld_portal.XXXXXX") || exit 1
mkdir "$dir/root"
pid=
cleanup() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

started=0
start_portal "$ldtool" "$dir/root" "$dir/requests.jsonl" 900 "$dir/serve.out" || started=1
pid=$portal_pid
[ "$started" = 0 ] || exit 1

LD_TEST_PORTAL=$portal_addr
LD_TEST_PORTAL_HTTPS=$portal_https_addr
LD_TEST_REQUEST_LOG=$dir/requests.jsonl
LD_TEST_PORTAL_ROOT=$dir/root
LD_TEST_LDTOOL=$ldtool
LD_TEST_SCRAMBLED_ID=$("$ldtool" memberid scramble 'tester 01@ludo.kr') || LD_TEST_SCRAMBLED_ID=
export LD_TEST_PORTAL LD_TEST_PORTAL_HTTPS LD_TEST_REQUEST_LOG LD_TEST_PORTAL_ROOT LD_TEST_LDTOOL LD_TEST_SCRAMBLED_ID

${runner:+"$runner"} "$@"
