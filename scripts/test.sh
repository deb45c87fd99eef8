#!/usr/bin/env bash
# The test command: installs what is missing, builds both targets, runs the test suite
# of each (the 64-bit build under wine64, the 32-bit ship build under 32-bit Wine),
# checks the export tables of the 32-bit deliverables, and runs the demo and the 32-bit
# deploy folder once. Prints the time of each phase at the end.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

phases=()
phase_start=$(date +%s)
phase_done() {
  local now
  now=$(date +%s)
  phases+=("$(printf '%-34s %5d s' "$1" $((now - phase_start)))")
  phase_start=$now
}

bash scripts/setup.sh
phase_done "set-up"
bash scripts/build.sh i686 x86_64
phase_done "build (i686, x86_64)"

status=0
# One test at a time: the named blocks and the log channel are shared by every process
# of a Wine session, as on Windows, and several tests check their exact content.
run_suite() {
  local build="$1" arch="$2"
  (
    . scripts/wine-env.sh "$root/build/$build" "$arch"
    kvt_wine_start
    trap kvt_wine_stop EXIT
    ctest --test-dir "build/$build" --output-on-failure -j 1
  )
}

echo "== 64-bit suite (wine64) =="
run_suite x86_64 win64 || status=1
phase_done "64-bit suite"

echo "== 32-bit suite (32-bit Wine) =="
if bash scripts/wine32.sh --check; then
  run_suite i686 win32 || status=1
else
  echo "FAILED: the 32-bit suite cannot run on this machine (see above); nothing of it ran"
  status=1
fi
phase_done "32-bit suite"

bash scripts/check-exports.sh "$root/dist/i686" || status=1

echo "== demo =="
bash scripts/demo.sh --no-build || status=1
echo "== 32-bit deploy folder =="
bash scripts/run32.sh || status=1
phase_done "export check, demo, 32-bit run"

echo "== times =="
printf '%s\n' "${phases[@]}"
exit $status
