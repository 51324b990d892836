#!/usr/bin/env bash
# Start-up: the lines in order, frames drawn, an inset with a view of its own turned by arrows.
source "$(dirname "$0")/e2e_lib.sh"
start_demo

# Each pattern matches a line after the previous pattern's line.
from=0
for pattern in \
  '^kernel[a-z]*\.cpp,[0-9]+: init renderer:$' '^scheduler\.cpp,[0-9]+: ARGH 10 10$' \
  '^kernel[a-z]*\.cpp,[0-9]+: recompile shaders$' '^ Using GLEW [0-9]' '^ OpenGL ver: ' \
  '^ vertex and fragment shader supported$' \
  '^ Texture Units available: [0-9]+ ,max size: [0-9]+$' \
  '^ FBO supported with max color attachments: [0-9]+$' '^$' \
  'mtl/thunderdome\.obj' '^counts: vc[1-9]' 'mtl/monkey\.obj' '^counts: vc[1-9]' \
  'mtl/sign\.obj' '^counts: vc[1-9]' '^scheduler\.cpp,[0-9]+: ARGH 50 50$'; do
  line=$(tail -n +"$((from + 1))" "$OUT" | grep -nE -m 1 -- "$pattern" | cut -d: -f1 || true)
  [ -n "$line" ] || fail "no line matching '$pattern' after line $from"
  from=$((from + line))
done
[ "$(count_lines 'ARGH')" -eq 2 ] || fail "expected two scheduler tasks"
[ -z "$(grep -v '^$' "$ERR")" ] || fail "start-up wrote errors"

window_geometry
expect_moving "the window" 640 480 "$X" "$Y"
# The inset covers 0.7 to 0.95 of the window from its lower left; it is not the main view
# made small.
small() { shot "$@" && convert "$1" -scale 40x30! "$1"; }
inset() { small "$1" 160 120 $((X + 447)) $((Y + 25)); }
inset "$WORK/inset.png" && small "$WORK/main.png" 640 480 "$X" "$Y"
is_above "$(difference "$WORK/inset.png" "$WORK/main.png")" 0.05 || fail "inset = main view"

# The arrows turn the inset's camera about the animation's axis: six presses of Left
# (1.2 rad) show a view of 24 animation steps before, six of Right forward again. The inset
# is filmed a frame at a time, the program stopped between frames.
# next_frame OLD NEW: runs the stopped program until the inset differs from OLD; saves it.
next_frame() { cp "$1" "$WORK/last.png" && wait_until "$LONG" ran_a_frame "$2" || fail "no frame"; }
ran_a_frame() {
  kill -CONT "$PID" && sleep 0.03 && kill -STOP "$PID" && sleep 0.1
  inset "$1" && is_above "$(difference "$WORK/last.png" "$1")" 0
}
# turn FILE KEY...: the keys and F1; once F1's output shows them handled, the next frame.
turn() {
  local file=$1 size=$(stat -c %s "$OUT") && shift
  xdotool key --delay 20 "$@" F1
  kill -CONT "$PID"
  POLL=0.01 wait_until "$SHORT" eval "[ \$(stat -c %s '$OUT') -gt $size ]" || fail "keys not handled"
  kill -STOP "$PID" && inset "$file" && next_frame "$file" "$file"
}
# The number of the film frame most like the picture.
closest() {
  for i in $(seq 0 $((FRAMES - 1))); do echo "$(difference "$1" "$WORK/film$i.png") $i"; done |
    sort -g | head -n 1 | cut -d' ' -f2
}
FRAMES=20
kill -STOP "$PID" && sleep 0.2 && inset "$WORK/film0.png"
for i in $(seq 1 $((FRAMES - 1))); do next_frame "$WORK/film$((i - 1)).png" "$WORK/film$i.png"; done
turn "$WORK/left.png" Left Left Left Left Left Left
turn "$WORK/right.png" Right Right Right Right Right Right
kill -CONT "$PID"
back=$(closest "$WORK/left.png") forth=$(closest "$WORK/right.png")
# A film frame holds one animation step, a few on a loaded machine.
[ "$back" -le $((FRAMES - 4)) ] || fail "Left did not turn the inset back (frame $back)"
[ "$forth" -ge $((FRAMES - 2)) ] || fail "Right did not turn the inset forward (frame $forth)"
quit_demo
