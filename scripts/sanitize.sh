#!/usr/bin/env bash
# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ (or $VELLOR_SANITIZE_BUILD_DIR), run headless. The first
# report a sanitizer makes ends its test, and the first failed test ends the run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELLOR_SANITIZE_BUILD_DIR:-$root/build-asan}"
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
"$root/scripts/install-deps.sh"
# The folder is configured with the sanitizers first; the build then keeps them.
# Compiled a target's sources at a time, at -O1 with line tables only, the
# suite builds in half the time, and the reports still name file and line.
cmake -S "$root" -B "$build" -DVELLOR_BUILD_BENCHMARKS=OFF -DCMAKE_UNITY_BUILD=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags"
VELLOR_BUILD_DIR="$build" "$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
# Leak checking stays off: the OpenGL driver that the scan-out tests load keeps
# an allocation of its own at exit and is unloaded before the check, so what it
# keeps cannot be told apart from a leak of ours.
export ASAN_OPTIONS="halt_on_error=1:detect_stack_use_after_return=1:detect_leaks=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
cd "$build"
"$root/scripts/headless-x.sh" ctest --output-on-failure --stop-on-failure --parallel "$(nproc)"
