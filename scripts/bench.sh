#!/usr/bin/env bash
# Builds and runs every benchmark in bench/, headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DCMAKE_BUILD_TYPE=Release
export QT_QPA_PLATFORM=offscreen
for b in "${VELLOR_BUILD_DIR:-$root/build}"/bench/bench_*; do
  [ -x "$b" ] && "$b"
done
