#!/usr/bin/env bash
# Runs one test program under Wine for ctest, with a time limit, and tells a harness
# failure (the program never started) from a product failure.
#
# Usage: wine-test.sh <test name> <seconds> <loader> <program> [arguments...]
#
# - A program still running after <seconds> is killed with everything it started, and
#   the line "TIMEOUT: ..." names the program and the test.
# - A test program prints GoogleTest's "[==========] Running" header first thing. A
#   run that ends without it did not start (Wine or the emulator failed to start the
#   process): it is retried once, and a second such run is reported as "HARNESS: ...",
#   with the exit code and what the loader printed, not as a test result. A child process
#   that a test could not start (tests/support/ProcessStart.h, tried twice there) is
#   named the same way.
# - 32-bit loaders run through scripts/wine32.sh (emulated where the kernel cannot run
#   i386 programs).
set -uo pipefail
name="$1" limit="$2" loader="$3"
shift 3
program="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# Byte 4 of an ELF header is its class: 1 for a 32-bit program.
run=("$loader")
if [ "$(od -An -tx1 -j4 -N1 "$loader" 2>/dev/null | tr -d ' ')" = "01" ]; then
  run=(bash "$here/wine32.sh" "$loader")
fi

output="$(mktemp)"
trap 'rm -f "$output"' EXIT
for attempt in 1 2; do
  # timeout runs the program in a process group of its own and kills the whole group,
  # Wine child processes included.
  timeout --kill-after=20 "$limit" "${run[@]}" "$@" 2>&1 | tee "$output"
  status=${PIPESTATUS[0]}
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "TIMEOUT: $(basename "$program") (test $name) did not finish within $limit s and was killed"
    exit 1
  fi
  if grep -q '^\[==========\] Running' "$output" || [ "$status" -eq 0 ]; then
    if [ "$status" -ne 0 ] && grep -q 'HARNESS: the child process could not be started' "$output"; then
      echo "HARNESS: $(basename "$program") (test $name): a child process could not be started" \
           "(lines above): a failure of Wine or the machine, not a test result"
    fi
    exit "$status"
  fi
  echo "HARNESS: $(basename "$program") (test $name) did not start (attempt $attempt of 2):" \
       "exit code $status, loader $loader; its last output lines:"
  tail -n 5 "$output" | sed 's/^/HARNESS:   /'
done
echo "HARNESS: $(basename "$program") (test $name) never started: a failure of Wine or the" \
     "emulator on this machine, not a test result"
exit 1
