#!/usr/bin/env bash
# Builds a Release, stripped Vellor in build-package/ (or
# $VELLOR_PACKAGE_BUILD_DIR) and its Debian package, whose library
# dependencies are read from the binary. Prints the package's path last.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELLOR_PACKAGE_BUILD_DIR:-$root/build-package}"
# dpkg-shlibdeps and file work out the package's dependencies.
"$root/scripts/install-deps.sh" dpkg-dev file >&2
# Only the program and what it installs: the package needs no tests or tools.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELLOR_BUILD_TESTS=OFF \
  -DVELLOR_BUILD_BENCHMARKS=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >&2
cmake --build "$build" --target vellor --parallel "$(nproc)" >&2
rm -f "$build"/vellor_*.deb
(cd "$build" && cpack -G DEB) >&2
ls "$build"/vellor_*.deb
