#!/usr/bin/env bash
# One command from a fresh Debian 12 machine to the whole test suite, headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
cd "${VELLOR_BUILD_DIR:-$root/build}"
# Every test runs offscreen; the virtual X server is there for the few that
# draw with OpenGL through the X platform.
"$root/scripts/headless-x.sh" ctest --output-on-failure --parallel "$(nproc)"
