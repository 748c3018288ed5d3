#!/usr/bin/env bash
# Repaints the artwork in res/ (skin, icons, image buttons, about picture) from
# res/artwork/MakeArtwork.cpp. Commit the PNGs it writes.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELLOR_BUILD_DIR:-$root/build}"
"$root/scripts/build.sh" vellor_make_artwork >/dev/null
QT_QPA_PLATFORM=offscreen "$build/res/artwork/vellor_make_artwork" "$root/res"
