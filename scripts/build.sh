#!/usr/bin/env bash
# Configures and builds Vellor into build/ (or $VELLOR_BUILD_DIR): the
# targets named, or everything. $VELLOR_BUILD_TYPE picks the build type
# (RelWithDebInfo); each folder keeps one, so give another type a folder of
# its own rather than switching a folder back and forth.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELLOR_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE="${VELLOR_BUILD_TYPE:-RelWithDebInfo}"
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build "$build" --parallel "$(nproc)" "${targets[@]}"
