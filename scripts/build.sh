#!/usr/bin/env bash
# Builds both targets: build/i686 (ship build) and build/x86_64 (test build).
# Usage: scripts/build.sh [i686|x86_64 ...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(i686 x86_64)
jobs="$(nproc 2>/dev/null || echo 2)"
# A developer's ccache, where there is one, serves every checkout and both targets.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
for t in "${targets[@]}"; do
  cmake -S "$root" -B "$root/build/$t" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$t.cmake" \
        "${launcher[@]}" >/dev/null
  cmake --build "$root/build/$t" -j "$jobs"
done
