#!/usr/bin/env bash
# Corvane32 as a user meets it: started on a sample under a virtual X server, keys pressed
# with xdotool, the title read back and the screen photographed.
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
"$exe" "$first" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

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

xdotool windowfocus --sync "$window"
xdotool key ctrl+End
sleep 0.5
import -window root "$out/xvfb_ctrl_end.png"
# The view moved to the right edge: the picture changed.
changed=$(compare -metric AE "$out/xvfb_start.png" "$out/xvfb_ctrl_end.png" null: 2>&1 || true)
[ "${changed%% *}" != "0" ] || { echo "Ctrl+End did not scroll"; exit 1; }

xdotool key F6
for _ in $(seq 50); do
  title=$(xdotool getwindowname "$window")
  [ "$title" = "Corvane 32 - $second" ] && break
  sleep 0.1
done
[ "$title" = "Corvane 32 - $second" ] || { echo "after F6 the title is '$title'"; exit 1; }
sleep 0.3
import -window root "$out/xvfb_next.png"
size=$(identify -format '%wx%h' "$out/xvfb_next.png")
[ "$size" = "400x400" ] || { echo "screenshot is $size"; exit 1; }
echo "title, Ctrl+End and F6 checked; screenshots in $out"
INNER
)

# A screen smaller than the 512-pixel sample, so that the view can scroll. Another
# virtual server starting at the same moment can take the display number xvfb-run
# picked; then the program cannot connect, and the session is tried again.
for attempt in 1 2 3; do
  log=$(mktemp)
  if xvfb-run -a -s "-screen 0 400x400x24" bash -c "$session" xvfb_check "$exe" "$first" "$second" "$out" >"$log" 2>&1; then
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
