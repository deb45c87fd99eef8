#!/usr/bin/env bash
# Builds and runs the benchmarks of the test build under wine64 and prints one table:
# each figure beside its baseline measured in the same run, and their ratio (times for
# times, baseline over figure for rates: above 1 the figure is slower). The log's two
# modes are measured: the default rows, and the rows marked "fast log" (KVT_FAST_LOG=1)
# beside them.
# Usage: scripts/bench.sh [build folder]  (default build/x86_64)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/x86_64}"
jobs=2

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64.cmake" >/dev/null
fi
cmake --build "$build" -j "$jobs" --target pellor_load_bench release_bench kvt_call_bench kvt_logreport_bench >/dev/null

. "$root/scripts/wine-env.sh" "$build"
kvt_wine_start
work="$(mktemp -d "$build/bench-work.XXXXXX")"
trap 'kvt_wine_stop; rm -rf "$work"' EXIT

run() {   # run <name> <program> [args]: its output in $work/<name>.txt
  local name="$1"; shift
  mkdir -p "$work/$name"
  (cd "$work/$name" && "$KVT_WINE_LOADER" "$build/bin/$1" "${@:2}" >"$work/$name.txt" 2>"$work/$name.err") || {
    echo "benchmark $name failed:" >&2; cat "$work/$name.txt" "$work/$name.err" >&2; exit 1; }
}

echo "running the benchmarks (a few minutes) ..." >&2
run load pellor_load_bench.exe
KVT_FAST_LOG=1 run load-fast pellor_load_bench.exe
run release release_bench.exe 5
run recorder release_bench.exe --recorder 5
run calls kvt_call_bench.exe
run logreport kvt_logreport_bench.exe 100

# The first number after the text ("LoadPropertyData (best of 7): 123.4 ms").
figure() { grep -a -m1 -F "$2" "$work/$1.txt" | sed -E "s/.*$3[^0-9]*([0-9]+(\.[0-9]+)?).*/\1/"; }

rows="$work/rows.txt"
{
  printf 'LoadPropertyData, 239 property files|%s|ms|the same files written directly|%s\n' \
    "$(figure load 'LoadPropertyData (best' ':')" "$(figure load 'direct file writes' ':')"
  printf 'LoadPropertyData, 239 files, fast log|%s|ms|the same files written directly|%s\n' \
    "$(figure load-fast 'LoadPropertyData (best' ':')" "$(figure load-fast 'direct file writes' ':')"
  printf 'KVT_ReleaseAndTransfer, 30 MB raw + 10 MB JPEG|%s|ms|the same bytes written directly|%s\n' \
    "$(figure release 'KVT_ReleaseAndTransfer (' 'JPEG\):')" "$(figure release 'direct write of the same bytes' ':')"
  printf 'KVT_ReleaseAndTransfer, 40 MB raw, recorder on|%s|ms|the same on the bare transport|%s\n' \
    "$(figure recorder 'through the recorder' ':')" "$(figure recorder 'on the bare transport' ':')"
  grep -a -h '^BENCH ' "$work/calls.txt" "$work/logreport.txt" | sed 's/^BENCH //'
} >"$rows"

awk -F'|' '
  BEGIN { printf "%-46s %14s  %-34s %14s  %8s\n", "Measurement", "Figure", "Baseline (same run)", "Baseline", "Ratio"
          printf "%-46s %14s  %-34s %14s  %8s\n", "-----------", "------", "-------------------", "--------", "-----" }
  { slower = ($3 == "calls/s") ? ($2 > 0 ? $5 / $2 : 0) : ($5 > 0 ? $2 / $5 : 0)
    unit = ($3 == "calls/s") ? " calls/s" : " ms"
    printf "%-46s %14s  %-34s %14s  %7.1fx\n", $1, sprintf("%.1f%s", $2, unit), $4, sprintf("%.3f%s", $5, unit), slower }
' "$rows"
echo
grep -a -h '^INFO ' "$work/calls.txt" "$work/logreport.txt" | sed 's/^INFO /  /'
grep -a -h -E 'log-like appends|first round' "$work/load.txt" "$work/release.txt" | sed 's/^/  /'
grep -a -h '^recorder: ' "$work/recorder.txt" | sed 's/^/  /'
