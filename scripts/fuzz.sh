#!/usr/bin/env bash
# Builds the fuzz preset and runs each libFuzzer target for a bounded time over a temporary
# copy of its seed corpus (fuzz/corpus/<target>; the committed seeds are never changed).
# Fails when a target crashes, trips a sanitizer, breaks one of its checks or hangs on one input.
#
#   scripts/fuzz.sh [SECONDS_PER_TARGET]      default 60 (or $FUZZ_SECONDS)
#
# FUZZ_BUILD_DIR: build folder (default build/fuzz). FUZZ_SUMMARY: a file that gets one line
# per target (used by scripts/reliability-report.sh). A failing input is kept in
# $FUZZ_BUILD_DIR/artifacts and printed in hex.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-${FUZZ_SECONDS:-60}}
build=${FUZZ_BUILD_DIR:-build/fuzz}
targets=(fuzz_exchange fuzz_connection_test fuzz_registry fuzz_sysfs fuzz_uevent)
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j"$jobs" --target "${targets[@]}"

# The sysfs target writes a small tree for every input: on tmpfs it runs several times faster.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/trees"
artifacts="$build/artifacts"  # this run's failing inputs only
rm -rf "$artifacts"
mkdir -p "$artifacts"
summary=${FUZZ_SUMMARY:-/dev/null}
: > "$summary"

failed=0
for target in "${targets[@]}"; do
  cp -r "fuzz/corpus/$target" "$work/$target"
  seeds=$(ls "$work/$target" | wc -l)
  log="$work/$target.log"
  started=$(date +%s%3N)
  # -timeout: one input that runs longer than 10 s counts as a hang.
  # Trees of an input that aborted stay behind: keep them inside the folder removed on exit.
  if TMPDIR="$work/trees" "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -max_len=4096 \
       -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "$work/$target" \
       >"$log" 2>&1; then
    result=passed
  else
    result=FAILED
    failed=1
    tail -n 60 "$log"
    for input in "$artifacts/$target"-*; do
      [ -f "$input" ] || continue
      echo "failing input $input:"
      od -A x -t x1z -v "$input" | head -n 40
    done
  fi
  elapsed=$(( ($(date +%s%3N) - started + 500) / 1000 ))
  executions=$(awk '/stat::number_of_executed_units/ {print $2}' "$log")
  coverage=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1 | awk '{print $2}')
  corpus=$(ls "$work/$target" | wc -l)
  line=$(printf '%s %s executions %s seconds %s coverage %s seeds %s corpus %s' \
         "$target" "$result" "${executions:-0}" "$elapsed" "${coverage:-0}" "$seeds" "$corpus")
  echo "fuzz: $line"
  echo "$line" >> "$summary"
done
exit "$failed"
