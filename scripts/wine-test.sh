#!/usr/bin/env bash
# Runs one Windows program under Wine with a time limit, and tells a harness failure
# (the program never started) from a failure of the program. ctest starts every test
# program through it; scripts/run32.sh starts the deploy folder's programs through it.
#
# Usage: wine-test.sh [--started REGEX] [--input TEXT] <test name> <seconds> <loader>
#                     <program> [arguments...]
#
# - The program's standard output and standard error both go to standard output.
# - A program still running after <seconds> is killed with everything it started, and
#   the line "TIMEOUT: ..." names the program and the test.
# - A started program prints a line matching REGEX (default: GoogleTest's
#   "[==========] Running" header, which a test program prints first thing). A run that
#   the loader refused (a DLL or export missing) fails at once, named as such. Any other
#   run that fails without that line did not start (Wine or the emulator failed to
#   start the process): it is retried once, and a second such run is reported as
#   "HARNESS: ...", with the exit code and what the loader printed, never as a result
#   of the program. A child process that a test could not start
#   (tests/support/ProcessStart.h, tried twice there) is named the same way.
# - --input TEXT (backslash escapes, e.g. '\n\n') is fed on standard input to each attempt;
#   without it the program reads an empty standard input.
# - 32-bit loaders run through scripts/wine32.sh (emulated where the kernel cannot run
#   i386 programs).
set -uo pipefail
started='^\[==========\] Running'
input=""
while [ $# -gt 0 ]; do
  case "$1" in
    --started) started="$2"; shift 2 ;;
    --input) input="$2"; shift 2 ;;
    *) break ;;
  esac
done
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
  printf '%b' "$input" | timeout --kill-after=20 "$limit" "${run[@]}" "$@" 2>&1 | tee "$output"
  status=${PIPESTATUS[1]}
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "TIMEOUT: $(basename "$program") (test $name) did not finish within $limit s and was killed"
    exit 1
  fi
  if [ "$status" -eq 0 ] || grep -a -q -E "$started" "$output"; then
    if [ "$status" -ne 0 ] && grep -a -q 'HARNESS: the child process could not be started' "$output"; then
      echo "HARNESS: $(basename "$program") (test $name): a child process could not be started" \
           "(lines above): a failure of Wine or the machine, not a test result"
    fi
    exit "$status"
  fi
  # Wine ends a process that its loader refused with the low byte of the status: that is
  # a fault of what was built (a DLL or an export missing), not of Wine.
  case "$status" in
    53) refused="0xc0000135, a DLL it imports was not found" ;;
    57) refused="0xc0000139, an export it imports was not found" ;;
    66) refused="0xc0000142, a DLL it imports failed to initialise" ;;
    123) refused="0xc000007b, it or a DLL it imports is not a valid image for this Wine" ;;
    *) refused="" ;;
  esac
  if [ -n "$refused" ]; then
    echo "FAILED: $(basename "$program") (test $name) was refused by the loader (exit code" \
         "$status: status $refused)"
    exit 1
  fi
  echo "HARNESS: $(basename "$program") (test $name) did not start (attempt $attempt of 2):" \
       "exit code $status, loader $loader; its last output lines:"
  tail -n 5 "$output" | sed 's/^/HARNESS:   /'
done
echo "HARNESS: $(basename "$program") (test $name) never started: a failure of Wine or the" \
     "emulator on this machine, not a result of the program"
exit 1
