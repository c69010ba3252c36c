#!/usr/bin/env bash
# Corvane32 as a user meets it: started on a sample under a virtual X server, keys pressed
# and the mouse clicked with xdotool, titles read back and the screen photographed.
# Usage: xvfb_check.sh CORVANE32 SAMPLES_DIR OUTPUT_DIR
set -euo pipefail
exe=$1
samples=$2
out=$3
first="$samples/field001.fit"
second="$samples/field002.fit"
[ -f "$first" ] && [ -f "$second" ] || { echo "no samples in $samples"; exit 1; }
unset QT_QPA_PLATFORM

# The session, run inside the virtual server.
session=$(cat <<'INNER'
set -euo pipefail
exe=$1 first=$2 second=$3 out=$4
work=$(mktemp -d)  # the output files of the photometry run go here
cd "$work"
"$exe" "$first" &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT

window=""
for _ in $(seq 100); do
  window=$(xdotool search --name "^Corvane 32 - " 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "no main window"; exit 1; }

title=$(xdotool getwindowname "$window")
[ "$title" = "Corvane 32 - $first" ] || { echo "title is '$title'"; exit 1; }
sleep 0.5
import -window root "$out/xvfb_start.png"

# Where the image lies on the screen: below the menu bar, whose height depends on the font.
# The sample's sky is dark, the menu bar light.
eval "$(xdotool getwindowgeometry --shell "$window")"
top=$(convert "$out/xvfb_start.png" -crop "1x80+$((X + 3))+$Y" -colorspace Gray -depth 8 gray:- |
      od -An -v -tu1 -w1 | awk '$1 < 100 { print NR - 1; exit }')
[ -n "$top" ] || { echo "no image below the menu bar"; exit 1; }
vx=$X vy=$((Y + top))

# A window by its title, given the keyboard; a click at an image pixel (view at 1:1, no
# scroll); the number of red pixels in the 5 x 5 square around an image pixel.
dialog() {
  local d
  d=$(timeout 10 xdotool search --sync --name "^$1\$" | head -n 1) || { echo "no '$1'"; exit 1; }
  xdotool windowfocus --sync "$d"
}
click() { xdotool mousemove "$((vx + $1))" "$((vy + $2))" click 1; sleep 0.1; }
red() {
  convert "$3" -crop "5x5+$((vx + $1 - 2))+$((vy + $2 - 2))" txt:- | grep -c "#FF0000" || true
}
main() { xdotool windowfocus --sync "$window"; }

# Do! on field001 through the menus' letters and clicks: one star with one box, the output
# files, then the reference star, the asteroid at (140, 330) and its box.
main
xdotool key F10 Left p  # F10 opens File; Left goes round to Photometry: Parameters...
dialog "Corvane -- Parameter Input"
xdotool key ctrl+a 1 Tab ctrl+a 1 Return
main
xdotool key F10 Left i  # Initialize star list
click 154 110
click 154 70
xdotool key F10 Left o  # Output Files...
dialog "Open Output File"
xdotool type xvfb
xdotool key Return
main
xdotool key F8
click 154 110
click 140 330
click 140 290
dialog "Corvane -- Acknowledge"
sleep 0.3
import -window root "$out/xvfb_confirm.png"
# The asteroid's aperture, 15 pixels round the asteroid, is in view all round.
for p in "140 315" "140 345" "125 330" "155 330"; do
  n=$(red $p "$out/xvfb_confirm.png")
  [ "$n" -gt 0 ] || { echo "the bar hides the asteroid's aperture at $p"; exit 1; }
done
xdotool key Escape
sleep 0.3

main
xdotool mousemove "$((X + 630))" "$((Y + 550))"  # off the window: no readout
sleep 0.2
import -window root "$out/xvfb_before_scroll.png"
xdotool key ctrl+Next
sleep 0.5
import -window root "$out/xvfb_ctrl_page_down.png"
# The view moved to the bottom edge: the picture changed.
changed=$(compare -metric AE "$out/xvfb_before_scroll.png" "$out/xvfb_ctrl_page_down.png" null: 2>&1 || true)
[ "${changed%% *}" != "0" ] || { echo "Ctrl+Page Down did not scroll"; exit 1; }

xdotool key F6
for _ in $(seq 50); do
  title=$(xdotool getwindowname "$window")
  [ "$title" = "Corvane 32 - $second" ] && break
  sleep 0.1
done
[ "$title" = "Corvane 32 - $second" ] || { echo "after F6 the title is '$title'"; exit 1; }

# Ctrl and the wheel zoom in about the pointer, and out again to the very same picture.
xdotool mousemove "$((vx + 200))" "$((vy + 200))"
sleep 0.3
import -window root "$out/xvfb_before_zoom.png"
xdotool keydown ctrl click 4 keyup ctrl
sleep 0.5
import -window root "$out/xvfb_wheel_zoom.png"
changed=$(compare -metric AE "$out/xvfb_before_zoom.png" "$out/xvfb_wheel_zoom.png" null: 2>&1 || true)
[ "${changed%% *}" != "0" ] || { echo "Ctrl+wheel did not zoom"; exit 1; }
xdotool keydown ctrl click 5 keyup ctrl
sleep 0.5
import -window root "$out/xvfb_wheel_back.png"
changed=$(compare -metric AE "$out/xvfb_before_zoom.png" "$out/xvfb_wheel_back.png" null: 2>&1 || true)
[ "${changed%% *}" = "0" ] || { echo "zooming back moved the view: $changed pixels differ"; exit 1; }

# F10 opens File, whose About item has the letter b.
main
xdotool key F10 b
dialog "About Corvane32"
xdotool key Return

size=$(identify -format '%wx%h' "$out/xvfb_confirm.png")
[ "$size" = "640x560" ] || { echo "screenshot is $size"; exit 1; }
echo "title, Do! to its confirmation, Ctrl+Page Down, F6, Ctrl+wheel and F10 checked; screenshots in $out"
INNER
)

# A screen lower than the 512-pixel sample and its window, so that the view can scroll
# and the confirmation bar has to find its place inside the image. Another virtual server
# starting at the same moment can take the display number xvfb-run picked; then the
# program cannot connect, and the session is tried again.
for attempt in 1 2 3; do
  log=$(mktemp)
  if xvfb-run -a -s "-screen 0 640x560x24" bash -c "$session" xvfb_check "$exe" "$first" "$second" "$out" >"$log" 2>&1; then
    cat "$log"; rm -f "$log"; exit 0
  fi
  cat "$log"
  if ! grep -q "could not connect to display" "$log"; then
    rm -f "$log"; exit 1
  fi
  rm -f "$log"
  echo "attempt $attempt: the display was taken, trying again"
  sleep 1
done
exit 1
