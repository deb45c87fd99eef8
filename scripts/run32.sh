#!/usr/bin/env bash
# Runs the 32-bit deploy folder under 32-bit Wine: TavolInfo.exe (Enter fed on standard
# input, its GBK output shown as UTF-8) and factory_example.exe, both against the
# simulated camera of the folder. Not part of CI.
#
# It needs a machine that executes 32-bit code: a 32-bit Wine loader (Debian's wine32
# package, /usr/lib/wine/wine) that starts, and with which a trivial 32-bit program
# (Wine's own cmd.exe) runs. Where that is missing it says so and exits 0.
#
# Usage: scripts/run32.sh [deploy folder]      (default: dist/i686)
# KVT_WINE32_LOADER=<path> names another 32-bit Wine loader, KVT_WINE32_PREFIX another
# Wine prefix (default: build/i686/wineprefix32).
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dist="${1:-$root/dist/i686}"
start_timeout=300   # seconds; 32-bit Wine under user-mode emulation starts slowly

cannot() {
  echo "run32: cannot run 32-bit programs on this machine: $1"
  echo "run32: nothing was run (the 32-bit deploy folder is only built and linked here)"
  exit 0
}

loader="${KVT_WINE32_LOADER:-}"
for candidate in $loader /usr/lib/wine/wine /usr/lib/i386-linux-gnu/wine/wine /opt/wine-stable/bin/wine; do
  if [ -x "$candidate" ]; then loader="$candidate"; break; fi
done
[ -n "$loader" ] || cannot "no 32-bit Wine loader (install wine32 for the i386 architecture)"

if command -v file >/dev/null && ! file -L "$loader" | grep -q "ELF 32-bit"; then
  cannot "$loader is not a 32-bit program"
fi
loader_error="$("$loader" --version 2>&1 >/dev/null)" || true
if grep -qi "exec format error\|cannot execute" <<<"$loader_error"; then
  cannot "the kernel does not execute 32-bit code ($loader: $loader_error)"
fi

[ -f "$dist/TavolInfo.exe" ] || { echo "run32: $dist has no TavolInfo.exe; build the i686 deploy folder first (scripts/build.sh i686)"; exit 1; }

export WINEPREFIX="${KVT_WINE32_PREFIX:-$root/build/i686/wineprefix32}"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
echo "run32: checking that a 32-bit program runs ($loader, prefix $WINEPREFIX)"
probe="$(timeout "$start_timeout" "$loader" cmd.exe /c echo run32-ok </dev/null 2>/dev/null | tr -d '\r')"
grep -q "run32-ok" <<<"$probe" || cannot "$loader does not run a trivial 32-bit program (cmd.exe) within ${start_timeout} s"

status=0
cd "$dist"
echo "== TavolInfo.exe =="
printf '\n\n\n' | timeout "$start_timeout" "$loader" TavolInfo.exe 2>/dev/null \
  | iconv -f GBK -t UTF-8 | tr -d '\r' | sed 's/\x1b\[[0-9;]*[A-Za-z]//g'
rc=${PIPESTATUS[1]}
echo "(TavolInfo exit code: $rc)"
if [ -f factory_example.exe ]; then
  echo "== factory_example.exe run32-output =="
  timeout "$start_timeout" "$loader" factory_example.exe run32-output </dev/null 2>&1 | tr -d '\r'
  rc=${PIPESTATUS[0]}
  echo "(factory_example exit code: $rc)"
  [ "$rc" -eq 0 ] || status=1
else
  echo "run32: no factory_example.exe in $dist"; status=1
fi
exit $status
