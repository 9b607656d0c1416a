#!/usr/bin/env bash
# Runs every benchmark under bench/ from a build folder and prints one table
# of their figures: value, target, and whether the target is met. Each
# program reports its figures as lines "BENCH\tfigure\tvalue\tunit\ttarget"
# (see bench/BenchFigure.h). A missed target is reported, not a failure;
# a program that fails or prints no figure makes the run fail.
# Usage: scripts/bench.sh [build folder]
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

programs=$(sed -n 's/^ *add_executable(\([A-Za-z0-9_]*\).*/\1/p' bench/*/CMakeLists.txt)
# shellcheck disable=SC2086
cmake --build "$build" -j "$(nproc)" --target $programs >"$build/bench-build.log" 2>&1 \
  || { tail -n 40 "$build/bench-build.log"; exit 1; }
status=0
rows=$(mktemp)
trap 'rm -f "$rows"' EXIT
for program in $programs; do
  name=${program%_bench}
  name=${name#bench_}
  echo "running $program ..." >&2
  output=$("$build/bin/$program" 2>/dev/null)
  code=$?
  figures=$(printf '%s\n' "$output" | grep -P '^BENCH\t' | sed "s/^BENCH\t/$name: /")
  if [ $code -ne 0 ] || [ -z "$figures" ]; then
    printf '%s: (failed, exit %d)\t-\t-\t-\n' "$name" "$code" >>"$rows"
    status=1
  else
    printf '%s\n' "$figures" >>"$rows"
  fi
done

awk -F'\t' '
  function verdict(value, target,   op, limit) {
    if (target == "-" || target == "") return "-"
    match(target, /^(<=|>=|<|>)/); op = substr(target, 1, RLENGTH); limit = substr(target, RLENGTH + 1) + 0
    if (op == "<=") return value <= limit ? "pass" : "miss"
    if (op == ">=") return value >= limit ? "pass" : "miss"
    if (op == "<") return value < limit ? "pass" : "miss"
    if (op == ">") return value > limit ? "pass" : "miss"
    return "?"
  }
  { figure[NR] = $1; unit = ($3 == "-") ? "" : " " $3
    value[NR] = $2 unit; target[NR] = ($4 == "-" || $4 == "") ? "-" : $4 unit
    result[NR] = $2 == "-" ? "miss" : verdict($2, $4)
    if (length($1) > width) width = length($1) }
  END {
    fmt = "%-" width "s  %14s  %10s  %s\n"
    printf fmt, "figure", "value", "target", "result"
    for (i = 1; i <= NR; ++i) printf fmt, figure[i], value[i], target[i], result[i]
  }' "$rows"
exit $status
