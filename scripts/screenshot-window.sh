#!/usr/bin/env bash
# Screenshots of the control window and of a scroll run, for the README:
# runs vellor under a virtual X server with a sample script, and writes
# docs/control-window.png and docs/prompter.png (or into the folder given).
# Needs xvfb-run, imagemagick's import and xdotool, which it installs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" imagemagick xdotool
out="${1:-$root/docs}"
binary="${VELLOR_BINARY:-${VELLOR_BUILD_DIR:-$root/build}/vellor}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

# The settings and the default script live beside the executable, so the run
# gets a folder of its own.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$binary" "$work/vellor"
printf '%s\r\n' \
  "Good evening, and welcome to the six o'clock news." \
  "" \
  "Tonight: the river rises again, and the town council meets in emergency session to decide what to do about the old bridge." \
  "" \
  "Our first report comes from the harbour, where the boats have been lifted onto the quay." \
  > "$work/vellor.txt"
printf '[Settings]\nFontName=Liberation Sans\nFontSize=140\nRightReading=1\n' > "$work/vellor.ini"

cat > "$work/shoot.sh" <<SHOOT
set -euo pipefail
"$work/vellor" &
app=\$!
window=""
for _ in \$(seq 50); do
  window="\$(xdotool search --name 'Vellor Teleprompter Software' 2>/dev/null | head -n1 || true)"
  [ -n "\$window" ] && break
  sleep 0.2
done
sleep 1
import -window "\$window" "$out/control-window.png"
# Alt+S is the Scroll item of the menu bar; the run starts paused, Space
# sets it moving for a moment and pauses it again.
xdotool windowfocus --sync "\$window"
xdotool key alt+s
sleep 1.5
xdotool key space
sleep 1
xdotool key space
sleep 0.5
import -window root "$out/prompter.png"
xdotool key Escape
sleep 0.5
xdotool windowfocus --sync "\$window"
xdotool key Escape
wait \$app
SHOOT
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/shoot.sh"
echo "Wrote $out/control-window.png and $out/prompter.png"
