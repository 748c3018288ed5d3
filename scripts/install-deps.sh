#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Vellor
# need, and any further packages named on the command line (the screenshot
# and package scripts name what only they use). Safe to run again: it asks
# apt only for what is missing.
set -euo pipefail

packages=(
  build-essential cmake ccache
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev libxcb1-dev libxcb-shm0-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # The prompter's faces and the stand-ins for faces a stock system lacks.
  fonts-dejavu-core fonts-liberation fonts-roboto-unhinted
  # Wayland desktops, and the compositor the tests try the program on.
  qt6-wayland weston
  # What the tests check the installed desktop entry and metainfo with.
  desktop-file-utils appstream
  xvfb xauth
  # The remote control's QR code; the WebSocket client of a follower and of
  # the tests, and the browser they drive.
  libqrencode-dev pkg-config qt6-websockets-dev chromium chromium-driver python3-selenium
  # Show controllers over OSC, and the outside client its tests use.
  liblo-dev liblo-tools
  # Following the voice: the recogniser and its model, espeak-ng's phonemes,
  # the microphone; and the voices and sox the benchmark makes its test set with.
  libpocketsphinx-dev pocketsphinx-en-us libespeak-ng-dev qt6-multimedia-dev
  espeak-ng flite festival festvox-us-slt-hts sox
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
