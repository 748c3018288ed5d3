#!/usr/bin/env bash
# One command from a fresh Debian 12 machine to a running Vellor: builds the
# program alone, not the tests, benchmarks or tools.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" vellor
exec "${VELLOR_BUILD_DIR:-$root/build}/vellor"
