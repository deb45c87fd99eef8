#!/usr/bin/env bash
# Builds both targets: build/i686 (ship build) and build/x86_64 (test build).
# Usage: scripts/build.sh [i686|x86_64 ...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(i686 x86_64)
jobs="$(nproc 2>/dev/null || echo 2)"
for t in "${targets[@]}"; do
  cmake -S "$root" -B "$root/build/$t" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$t.cmake" >/dev/null
  cmake --build "$root/build/$t" -j "$jobs"
done
