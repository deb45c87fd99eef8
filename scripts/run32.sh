#!/usr/bin/env bash
# Runs the 32-bit deploy folder as a person would, under 32-bit Wine: TavolInfo.exe
# against the simulated camera and SDK (Enter fed on standard input, its GBK output
# shown as UTF-8), then factory_example.exe. Where the kernel cannot run i386 programs,
# they run through qemu-i386 (scripts/wine32.sh).
#
# It never reports success when nothing ran: where 32-bit programs cannot run it says
# why and exits 1; a program that fails, hangs (time limit per program) or never starts
# (retried once) makes it exit 1 as well.
#
# Usage: scripts/run32.sh [deploy folder]      (default: dist/i686; build it first with
#        scripts/build.sh i686 or scripts/test.sh)
# KVT_WINE32_PREFIX names another Wine prefix (default: build/i686/wineprefix, the one
# of the 32-bit tests).
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dist="$(cd "${1:-$root/dist/i686}" 2>/dev/null && pwd)" ||
  { echo "run32: no deploy folder ${1:-$root/dist/i686}; build it first (scripts/build.sh i686)"; exit 1; }
limit=600   # seconds per program; 32-bit Wine under emulation starts slowly

for program in TavolInfo.exe factory_example.exe; do
  [ -f "$dist/$program" ] || { echo "run32: $dist has no $program; build the i686 deploy folder first (scripts/build.sh i686)"; exit 1; }
done

. "$root/scripts/wine-env.sh" "$root/build/i686" win32
export WINEPREFIX="${KVT_WINE32_PREFIX:-$WINEPREFIX}"
mkdir -p "$WINEPREFIX"
bash "$root/scripts/wine32.sh" --check || exit 1
echo "run32: starting 32-bit Wine (prefix $WINEPREFIX)"
kvt_wine_start
trap kvt_wine_stop EXIT

status=0
cd "$dist"
echo "== TavolInfo.exe =="
# "cls" writes terminal control codes; they are dropped for a readable transcript.
bash "$root/scripts/wine-test.sh" --started '.' --input '\n\n\n' run32 "$limit" \
    "$KVT_WINE_LOADER" TavolInfo.exe > "$root/build/i686/run32-TavolInfo.gbk"
rc=$?
iconv -f GBK -t UTF-8 "$root/build/i686/run32-TavolInfo.gbk" | tr -d '\r' | sed 's/\x1b\[[0-9;]*[A-Za-z]//g'
echo
echo "(TavolInfo exit code: $rc)"
# TavolInfo ends with 0 after printing the counts, -1 when it could not read them.
[ "$rc" -eq 0 ] || status=1

echo "== factory_example.exe run32-output =="
bash "$root/scripts/wine-test.sh" --started '.' run32 "$limit" \
    "$KVT_WINE_LOADER" factory_example.exe run32-output | tr -d '\r'
rc=${PIPESTATUS[0]}
echo "(factory_example exit code: $rc)"
[ "$rc" -eq 0 ] || status=1

[ $status -eq 0 ] && echo "run32: both programs ran and succeeded" || echo "run32: FAILED"
exit $status
