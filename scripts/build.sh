#!/usr/bin/env bash
# Builds both targets: build/i686 (ship build) and build/x86_64 (test build).
# Usage: scripts/build.sh [i686|x86_64 ...] [--target <CMake target> ...]
# Without --target everything is built (libraries, tools, the test suite and the
# benchmarks); with it only those targets and what they need.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
targets=()
only=()
while [ $# -gt 0 ]; do
  case "$1" in
    --target) only+=(--target "$2"); shift 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
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
  cmake --build "$root/build/$t" -j "$jobs" "${only[@]}"
done
