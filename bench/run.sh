#!/usr/bin/env bash
# Times whole runs of rrensen against the protocol's I/O floor on the largest
# exchange file the tool takes and on a typical one, then runs the reader and
# builder microbenchmarks and the joining of 10^5 DXF lines and arcs.
#   bench/run.sh [RUNS]      (default 101 alternating runs each)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${BUILD:-$here/../build/default}
runs=${1:-101}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$build/bench/make_exchange" large "$tmp/large-50000-lines.txt"
"$build/bench/make_exchange" typical "$tmp/typical-30-lines.txt"
echo "median of $runs alternating runs each"
for f in "$tmp/large-50000-lines.txt" "$tmp/typical-30-lines.txt"; do
  "$build/bench/time_runs" "$build/src/rrensen" "$build/bench/io_baseline" "$f" "$runs"
done
if [ -x "$build/bench/rrensen_micro_bench" ]; then
  if [ "$runs" -lt 10 ]; then
    "$build/bench/rrensen_micro_bench" --benchmark_min_time=0.01
  else
    "$build/bench/rrensen_micro_bench"
  fi
fi
if [ -x "$build/bench/rrensen_join_bench" ]; then
  if [ "$runs" -lt 10 ]; then
    "$build/bench/rrensen_join_bench" --benchmark_min_time=0.01
  else
    "$build/bench/rrensen_join_bench"
  fi
fi
