#!/bin/sh
# Runs a program of the 64-bit build under wine64 during the build, detached from the
# build's output (Wine's service processes would otherwise hold it open), and shows
# what the program printed.
# Usage: run-under-wine.sh <wine64 loader> <prefix> <log file> <program> [arguments...]
loader="$1"; prefix="$2"; log="$3"; shift 3
WINEPREFIX="$prefix" WINEDEBUG=-all WINELOADER="$loader" WINEDLLOVERRIDES="mscoree,mshtml=" \
  "$loader" "$@" </dev/null >"$log" 2>&1
status=$?
cat "$log"
exit $status
