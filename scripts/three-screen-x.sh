#!/usr/bin/env bash
# Starts a real X server with three monitors, to try a run with further
# outputs as on a desk: DUMMY0 1920 x 1080 at (0, 0), the primary, then
# DUMMY1 and DUMMY2, each 1920 x 1080, to its right, through Xorg's dummy
# driver and RandR, so Qt sees three QScreens by those names.
#   scripts/three-screen-x.sh [DISPLAY_NUMBER]       (default 78; prints the DISPLAY)
#   scripts/three-screen-x.sh --stop [DISPLAY_NUMBER]
#   scripts/three-screen-x.sh --shoot DIR [DISPLAY_NUMBER]   (a PNG of each monitor)
# Needs root; installs Xorg's dummy driver, xrandr and imagemagick's import.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
case "${1:-}" in
--stop)
  n=${2:-78}
  pid=$(cat "/tmp/three-screen-x.$n/pid" 2>/dev/null || true)
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  exit 0
  ;;
--shoot)
  out=$2 n=${3:-78}
  mkdir -p "$out"
  for i in 0 1 2; do
    DISPLAY=":$n" import -window root -crop "1920x1080+$((i * 1920))+0" +repage "$out/DUMMY$i.png"
  done
  exit 0
  ;;
esac
"$root/scripts/install-deps.sh" xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils \
  imagemagick >/dev/null
n=${1:-78}
dir="/tmp/three-screen-x.$n"
mkdir -p "$dir"
cat >"$dir/xorg.conf" <<'CONF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 5760 1080
  EndSubSection
EndSection
CONF
Xorg ":$n" -config "$dir/xorg.conf" -noreset -logfile "$dir/xorg.log" >/dev/null 2>&1 &
echo $! >"$dir/pid"
for _ in $(seq 1 50); do DISPLAY=":$n" xrandr >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=":$n"
xrandr --output DUMMY0 --mode 1920x1080 --pos 0x0 --primary
xrandr --addmode DUMMY1 1920x1080
xrandr --output DUMMY1 --mode 1920x1080 --pos 1920x0
xrandr --addmode DUMMY2 1920x1080
xrandr --output DUMMY2 --mode 1920x1080 --pos 3840x0
echo "DISPLAY=:$n"
