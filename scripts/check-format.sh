#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from what clang-format
# makes of it with the repository's .clang-format; lists those files.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" clang-format
cd "$root"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
