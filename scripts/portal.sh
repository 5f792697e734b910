# Shell function shared by the test wrapper, the demo and the install
# benchmark (POSIX sh; source it):
#   start_portal LDTOOL ROOT LOG EXIT_AFTER OUT
# Starts `ldtool serve` for ROOT on a free loopback port in the background,
# its request log in LOG, its output in OUT, stopping by itself after
# EXIT_AFTER seconds. Sets portal_pid, and portal_addr ("127.0.0.1:PORT") and
# portal_https_addr (its HTTPS listener) once the server is listening; returns 1, with the server's output on stderr, when
# it did not start within about ten seconds (portal_pid is set even then, so
# the caller's clean-up can stop it).
start_portal() {
  "$1" serve --root "$2" --port 0 --log "$3" --exit-after "$4" >"$5" 2>&1 &
  portal_pid=$!
  portal_addr=
  portal_https_addr=
  portal_tries=0
  while [ "$portal_tries" -lt 100 ]; do
    portal_addr=$(sed -n 's/^listening on \(127\.0\.0\.1:[0-9][0-9]*\).*$/\1/p' "$5")
    if [ -n "$portal_addr" ]; then
      portal_https_addr=$(sed -n 's/^https listening on \(127\.0\.0\.1:[0-9][0-9]*\).*$/\1/p' "$5")
      return 0
    fi
    kill -0 "$portal_pid" 2>/dev/null || break
    sleep 0.1
    portal_tries=$((portal_tries + 1))
  done
  echo "the loopback portal did not start:" >&2
  cat "$5" >&2
  return 1
}
