#!/usr/bin/env bash
# Builds the skin gallery, shows it on a virtual X display and saves a
# screenshot of the whole display: scripts/screenshot-skin.sh [out.png]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELLOR_BUILD_DIR:-$root/build}"
out="$(realpath -m "${1:-$build/skin-gallery.png}")"
"$root/scripts/install-deps.sh" imagemagick
"$root/scripts/build.sh" vellor_skin_gallery >/dev/null
xvfb-run -a -s "-screen 0 1150x540x24" bash -c '
  "$1" --quit-after 6000 &
  sleep 4
  import -window root "$2"
  wait
' _ "$build/tools/skin-gallery/vellor_skin_gallery" "$out"
echo "$out"
