#!/usr/bin/env bash
# Builds the libFuzzer targets of core (preset "fuzz", clang with AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs each for a bounded time, starting
# from its seed inputs in fuzz/corpus/<target>/. Fails when any target finds
# a crash, a sanitizer report or a broken invariant; the input that did it is
# left in build/fuzz/artifacts/.
#
#   LD_FUZZ_SECONDS  time per target (default 15)
#   LD_FUZZ_JOBS     targets run at once (default 2)
#   LD_FUZZ_TARGETS  space-separated subset (default: every *_fuzz.cpp)
#
# Inputs found on the way collect in build/fuzz/work/<target>/ and are reused
# by the next run; fuzz/corpus/ is only read.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
seconds="${LD_FUZZ_SECONDS:-15}"
jobs="${LD_FUZZ_JOBS:-2}"
targets="${LD_FUZZ_TARGETS:-$(cd fuzz && ls *_fuzz.cpp | sed 's/\.cpp$//' | tr '\n' ' ')}"

echo "== fuzz: configure, build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_all -j "${LD_JOBS:-$(nproc)}"

out="$repo/build/fuzz"
mkdir -p "$out/artifacts" "$out/logs"
run_one() { # run_one <target>: 0 when the target ran its time without a finding
  local t="$1" seeds="fuzz/corpus/${1%_fuzz}"
  mkdir -p "$out/work/$t"
  if "$out/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$out/artifacts/$t-" "$out/work/$t" "$seeds" >"$out/logs/$t.log" 2>&1; then
    echo "fuzz: $t passed ($(grep -h 'stat::number_of_executed_units' "$out/logs/$t.log" | awk '{print $2}') runs)"
  else
    echo "fuzz: $t FAILED; log $out/logs/$t.log:" >&2
    grep -E -A30 'ERROR|check failed|runtime error|deadly signal' "$out/logs/$t.log" | head -60 >&2
    return 1
  fi
}

echo "== fuzz: ${seconds} s per target, ${jobs} at a time"
status=0
pids=()
for t in $targets; do
  run_one "$t" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
if [ "$status" = 0 ]; then echo "fuzz: no findings"; else echo "fuzz: FINDINGS (see above)"; fi
exit "$status"
