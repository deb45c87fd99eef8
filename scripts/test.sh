#!/usr/bin/env bash
# The test command: installs what is missing, builds both targets, runs the tests of
# the 64-bit build under wine64, checks the export tables of the 32-bit deliverables,
# and runs the demo once.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/setup.sh
bash scripts/build.sh i686 x86_64

. scripts/wine-env.sh "$root/build/x86_64"
kvt_wine_start
trap kvt_wine_stop EXIT

status=0
ctest --test-dir build/x86_64 --output-on-failure -j "$(nproc 2>/dev/null || echo 2)" || status=1

bash scripts/check-exports.sh "$root/dist/i686" || status=1

echo "== demo =="
bash scripts/demo.sh --no-build || status=1

exit $status
