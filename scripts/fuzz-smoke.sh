#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each one for a while, seeded
# from tests/fuzz/corpus/<target>/. New inputs the fuzzer finds stay in the
# build folder; an input that breaks a target is left there as
# fuzz-artifacts/<target>-crash-..., and the run fails.
# Usage: scripts/fuzz-smoke.sh [build folder] [seconds per target]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${2:-60}

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" >/dev/null
targets=$(sed -n 's/^set(fuzz_targets \(.*\))$/\1/p' tests/fuzz/CMakeLists.txt)
# shellcheck disable=SC2086
cmake --build "$build" -j "$(nproc)" --target $targets >"$build/fuzz-build.log" 2>&1 || { tail -n 40 "$build/fuzz-build.log"; exit 1; }

# The targets run side by side, each for the given wall time.
mkdir -p "$build/fuzz-artifacts"
pids=()
for target in $targets; do
  work="$build/fuzz-corpus/$target"
  mkdir -p "$work"
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 "$build/tests/$target" \
    -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz-artifacts/$target-" "$work" "tests/fuzz/corpus/$target" \
    >"$build/fuzz-$target.log" 2>&1 &
  pids+=("$!")
done

status=0
i=0
for target in $targets; do
  log="$build/fuzz-$target.log"
  if wait "${pids[$i]}"; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: ${runs:-?} inputs in ${seconds} s, no finding"
  else
    tail -n 40 "$log"
    echo "$target: FAILED (log: $log)"
    status=1
  fi
  i=$((i + 1))
done
exit $status
