#!/usr/bin/env bash
# Builds and runs every benchmark in bench/, headless, as a Release build in
# a folder of its own (build-bench/, or $VELLOR_BENCH_BUILD_DIR), so that it
# never reconfigures the folder that scripts/build.sh keeps.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELLOR_BENCH_BUILD_DIR:-$root/build-bench}"
"$root/scripts/install-deps.sh"
VELLOR_BUILD_DIR="$build" VELLOR_BUILD_TYPE=Release "$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
for b in "$build"/bench/bench_*; do
  [ -x "$b" ] && "$b"
done
