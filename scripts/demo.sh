#!/usr/bin/env bash
# Builds the prompter demonstration and runs a scripted scroll run headless,
# writing what the screen showed to PNG files (default: demo-frames/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELLOR_BUILD_DIR:-$root/build}"
out="$(realpath -m "${1:-demo-frames}")"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" prompter-demo
# A 1280 x 720 screen, so the 4:3 picture shows with its side margins.
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen:configfile=$root/tools/prompter-demo/screen.json}"
"$build/tools/prompter-demo/prompter-demo" "$out"
echo "Frames written to $out"
