#!/usr/bin/env bash
# Configures and builds Vellor into build/ (or $VELLOR_BUILD_DIR): the
# targets named, or everything. $VELLOR_BUILD_TYPE picks the build type
# (RelWithDebInfo); each folder keeps one, so give another type a folder of
# its own rather than switching a folder back and forth.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELLOR_BUILD_DIR:-$root/build}"
# With a compiler cache, a fresh clone builds from what earlier builds on this
# machine compiled: paths count from the clone's folder, so clones anywhere share it.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE="${VELLOR_BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}"
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build "$build" --parallel "$(nproc)" "${targets[@]}"
