#!/usr/bin/env bash
# The main job: lays out the deploy folder and runs TavolInfo in it against the
# simulated camera and SDK, with Enter fed on standard input. The tool prints GBK;
# it is shown here as UTF-8. It builds only the deploy folder (the libraries, the
# tools and the example programs it holds), not the test suite: scripts/test.sh
# builds everything.
# Usage: scripts/demo.sh [--no-build]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

if [ "${1:-}" != "--no-build" ]; then
  bash scripts/setup.sh
  bash scripts/build.sh x86_64 --target deploy --target sdk_examples
fi

. scripts/wine-env.sh "$root/build/x86_64"
if [ "${1:-}" != "--no-build" ]; then
  kvt_wine_start
  trap kvt_wine_stop EXIT
fi

dist="$root/dist/x86_64"
cd "$dist"
set +e
printf '\n\n\n' | "$KVT_WINE_LOADER" TavolInfo.exe > "$root/build/x86_64/demo-output.gbk" 2>/dev/null
rc=$?
set -e
# "cls" writes terminal control codes; they are dropped for a readable transcript.
iconv -f GBK -t UTF-8 "$root/build/x86_64/demo-output.gbk" | tr -d '\r' | sed 's/\x1b\[[0-9;]*[A-Za-z]//g'
echo
echo "(TavolInfo exit code: $rc)"
