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
# One test at a time: the named blocks and the log channel are shared by every process
# of the Wine session, as on Windows, and several tests check their exact content.
ctest --test-dir build/x86_64 --output-on-failure -j 1 || status=1

bash scripts/check-exports.sh "$root/dist/i686" || status=1

echo "== demo =="
bash scripts/demo.sh --no-build || status=1

exit $status
