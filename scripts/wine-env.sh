# Sourced by the scripts: the Wine environment of a build folder.
# Usage: . scripts/wine-env.sh <build folder>
# Debian's wine64 package puts its loader and server in the Wine library folder, not on
# PATH (the "wine" package would add /usr/bin wrappers; nothing here needs them).
KVT_WINE_LOADER=/usr/lib/wine/wine64
KVT_WINE_SERVER=/usr/lib/wine/wineserver64
export WINEPREFIX="$1/wineprefix"
export WINEDEBUG=-all
export WINELOADER="$KVT_WINE_LOADER"
export WINEDLLOVERRIDES="mscoree,mshtml="

# Creates the prefix once (about 10 s the first time).
kvt_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating Wine prefix $WINEPREFIX"
    "$KVT_WINE_LOADER" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
    "$KVT_WINE_SERVER" -w
  fi
}

# Starts a persistent wineserver and Wine's own service processes, detached from
# our output: a service started later by a test would inherit that test's output
# pipe and keep it open after the test has ended.
kvt_wine_start() {
  kvt_wine_prefix
  "$KVT_WINE_SERVER" -p </dev/null >/dev/null 2>&1 || true   # fails when one already runs
  "$KVT_WINE_LOADER" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

kvt_wine_stop() {
  "$KVT_WINE_SERVER" -k >/dev/null 2>&1 || true
}
