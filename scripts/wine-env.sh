# Sourced by the scripts: the Wine environment of a build folder.
# Usage: . scripts/wine-env.sh <build folder> [win64|win32]      (default: win64)
# win64 runs the 64-bit build under wine64; win32 runs the 32-bit build under 32-bit
# Wine, through scripts/wine32.sh where the kernel cannot run i386 programs itself.
# Debian's wine packages put the loaders and the server in the Wine library folder, not
# on PATH (the "wine" package would add /usr/bin wrappers; nothing here needs them).
# Either prefix is served by the 64-bit server.
KVT_WINE_SERVER=/usr/lib/wine/wineserver64
export WINEPREFIX="$1/wineprefix"
export WINEARCH="${2:-win64}"
if [ "$WINEARCH" = win32 ]; then
  KVT_WINE_LOADER=/usr/lib/wine/wine
  KVT_WINE_RUN=(bash "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine32.sh" "$KVT_WINE_LOADER")
else
  KVT_WINE_LOADER=/usr/lib/wine/wine64
  KVT_WINE_RUN=("$KVT_WINE_LOADER")
fi
export WINEDEBUG=-all
export WINELOADER="$KVT_WINE_LOADER"
export WINEDLLOVERRIDES="mscoree,mshtml="

# Creates the prefix once (about 10 s the first time).
kvt_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating Wine prefix $WINEPREFIX ($WINEARCH)"
    "${KVT_WINE_RUN[@]}" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
    "$KVT_WINE_SERVER" -w
  fi
}

# Starts a persistent wineserver and Wine's own service processes, detached from
# our output: a service started later by a test would inherit that test's output
# pipe and keep it open after the test has ended.
kvt_wine_start() {
  kvt_wine_prefix
  "$KVT_WINE_SERVER" -p </dev/null >/dev/null 2>&1 || true   # fails when one already runs
  "${KVT_WINE_RUN[@]}" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

kvt_wine_stop() {
  "$KVT_WINE_SERVER" -k >/dev/null 2>&1 || true
}
