#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each of them for a while.
#
#   fuzz/run.sh [SECONDS] [TARGET...]     (default 60 seconds; targets: compile match grep settings)
#
# Environment: FUZZ_JOBS targets at a time (default 1), FUZZ_BUILD_DIR
# (default build-fuzz), FUZZ_TIMEOUT seconds one input may take (default 60: the compile
# of a pattern may legitimately take seconds under the sanitizers),
# FUZZ_RSS_MB memory limit in MB (default 2048).
#
# Each target starts from its seed corpus (fuzz/corpus/<target>, read only)
# and from what earlier runs found (<build dir>/corpus/<target>, where new
# inputs go).  An input that crashes, hangs, leaks or trips a sanitizer is
# saved as <build dir>/artifacts/<target>/<kind>-<hash>; the full output is
# in <build dir>/logs/<target>.log.  Prints the executions of each target
# and exits non-zero when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(compile match grep settings)
jobs=${FUZZ_JOBS:-1}
build=${FUZZ_BUILD_DIR:-build-fuzz}
timeout=${FUZZ_TIMEOUT:-60}
rss=${FUZZ_RSS_MB:-2048}

echo "== Build the fuzz targets ($build/)"
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j 2 >/dev/null

dictionary() {
  case "$1" in
    settings) echo fuzz/settings.dict ;;
    *) echo fuzz/pattern.dict ;;
  esac
}

run_target() {
  local target=$1
  local corpus="$build/corpus/$target" artifacts="$build/artifacts/$target/" log="$build/logs/$target.log"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  UBSAN_OPTIONS=print_stacktrace=1 \
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb="$rss" \
    -malloc_limit_mb="$rss" -dict="$(dictionary "$target")" -artifact_prefix="$artifacts" -print_final_stats=1 \
    "$corpus" "fuzz/corpus/$target" >"$log" 2>&1
}

echo "== Fuzz for $seconds s each: ${targets[*]}"
declare -A status
pids=()
names=()
for target in "${targets[@]}"; do
  if [ ! -x "$build/fuzz/fuzz_$target" ]; then
    echo "unknown target: $target" >&2
    exit 2
  fi
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  run_target "$target" &
  pids+=($!)
  names+=("$target")
done
for i in "${!pids[@]}"; do
  if wait "${pids[$i]}"; then status[${names[$i]}]=ok; else status[${names[$i]}]=FAILED; fi
done

failed=0
printf '%-10s %14s %10s %8s  %s\n' target executions exec/s corpus result
for target in "${targets[@]}"; do
  log="$build/logs/$target.log"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  [ -z "$runs" ] && runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  units=$(find "$build/corpus/$target" -type f | wc -l)
  printf '%-10s %14s %10s %8s  %s\n' "$target" "${runs:-?}" "${rate:-?}" "$units" "${status[$target]}"
  if [ "${status[$target]}" != ok ]; then
    failed=1
    grep -m1 -E 'ERROR|FUZZ PROPERTY FAILED|SUMMARY' "$log" | sed 's/^/    /' || true
    grep -E '^(artifact_prefix|Test unit written to)' "$log" | sed 's/^/    /' || true
    echo "    full output: $log"
  fi
done
exit "$failed"
