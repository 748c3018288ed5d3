#!/usr/bin/env bash
# One command from a fresh Debian 12 machine to a running Vellor.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
exec "${VELLOR_BUILD_DIR:-$root/build}/vellor"
