#!/bin/sh
# The install folder page driven from outside, as a user would: the probe
# finds the controls, clicks the shortcut check box, presses Escape and
# answers the close question with No (the run goes on), then clicks the close
# button and answers Yes (the window goes).
#   probe_scenario.sh EMULATOR UI_SHOWCASE UI_PROBE
set -u
run="$1"
showcase="$2"
probe="$3"
fail() {
  echo "probe scenario: $*" >&2
  "$run" "$probe" close class:LDSTART >/dev/null 2>&1
  exit 1
}

"$run" "$showcase" folder &
pid=$!
"$run" "$probe" wait class:LDSTART 30000 >/dev/null || fail "no installation window"
# The window exists before the driver has built its first pages.
tries=0
while :; do
  list="$("$run" "$probe" list class:LDSTART)" || fail "cannot list controls"
  echo "$list" | grep -q 'id=4122 ' && break
  tries=$((tries + 1))
  [ "$tries" -lt 40 ] || break
  sleep 0.25
done
echo "$list"
echo "$list" | grep -q 'id=4122 class=Button visible=1 enabled=1 .*rect=521,325,671,361' ||
  fail "start button missing or misplaced"
echo "$list" | grep -q 'id=4117 class=Edit visible=1 enabled=1 .*rect=435,224,690,245 text=C:\\Ludoria' ||
  fail "path field missing"
echo "$list" | grep -q 'id=4120 .*checked=1' || fail "shortcut box not checked"

"$run" "$probe" click class:LDSTART 4120 || fail "cannot click the check box"
"$run" "$probe" sleep 300
"$run" "$probe" list class:LDSTART | grep -q 'id=4120 .*checked=0' || fail "check box still checked"

"$run" "$probe" key class:LDSTART escape || fail "cannot press Escape"
"$run" "$probe" answer "stop" no 10000 || fail "no close question after Escape"
"$run" "$probe" sleep 300
"$run" "$probe" wait class:LDSTART 2000 >/dev/null || fail "No closed the window"

"$run" "$probe" click class:LDSTART 4164 || fail "cannot click the close button"
"$run" "$probe" answer "stop" yes 10000 || fail "no close question after the close button"
"$run" "$probe" gone class:LDSTART 10000 || fail "Yes left the window open"
wait "$pid"
echo "probe scenario: passed"
