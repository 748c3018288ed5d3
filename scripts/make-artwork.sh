#!/usr/bin/env bash
# Repaints the artwork in res/ (skin, icons, image buttons, about picture) from
# res/artwork/MakeArtwork.cpp. Commit the PNGs it writes.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELLOR_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target vellor_make_artwork
QT_QPA_PLATFORM=offscreen "$build/res/artwork/vellor_make_artwork" "$root/res"
