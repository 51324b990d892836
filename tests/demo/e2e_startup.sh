#!/usr/bin/env bash
# Start-up: the lines in their order, frames drawn, an inset with a view of its own that
# the arrow keys turn.
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
# The inset covers 0.7 to 0.95 of the window from its lower left: 160 x 120 pixels at
# (447, 25) from the top left. It is not the main view made small.
inset() { shot "$1" 160 120 $((X + 447)) $((Y + 25)) && convert "$1" -scale 40x30! "$1"; }
inset "$WORK/inset.png"
shot "$WORK/main.png" 640 480 "$X" "$Y" && convert "$WORK/main.png" -scale 40x30! "$WORK/main.png"
apart=$(difference "$WORK/inset.png" "$WORK/main.png")
is_above "$apart" 0.05 || fail "the inset shows the main view ($apart)"

# The arrows turn the inset's camera about the same axis as the animation does: six presses
# of Left (1.2 rad) take it back to a view it showed 24 animation steps before, six of Right
# forward again. The animation is filmed a frame at a time, the program held still between
# frames so that it moves only while a frame is awaited.
# run_until_new FILE: lets the held program run until the inset differs from FILE, and saves
# the new inset to FILE.
run_until_new() {
  cp "$1" "$WORK/last.png"
  wait_until "$LONG" ran_a_frame "$1" || fail "the inset stopped changing"
}
ran_a_frame() {
  kill -CONT "$PID"
  sleep 0.03
  kill -STOP "$PID"
  sleep 0.1
  inset "$1"
  is_above "$(difference "$WORK/last.png" "$1")" 0
}
# turn FILE KEY...: the keys and then F1; once F1's output shows them handled, the inset of
# the next frame.
turn() {
  local file=$1 size
  shift
  size=$(stat -c %s "$OUT")
  xdotool key --delay 20 "$@" F1
  kill -CONT "$PID"
  POLL=0.01 wait_until "$LONG" eval "[ \$(stat -c %s '$OUT') -gt $size ]" || fail "keys not handled"
  kill -STOP "$PID"
  inset "$file"
  run_until_new "$file"
}
# closest FILE: the number of the film frame most like the picture.
closest() {
  for i in $(seq 0 $((FRAMES - 1))); do echo "$(difference "$1" "$WORK/film$i.png") $i"; done |
    sort -g | head -n 1 | cut -d' ' -f2
}
FRAMES=20
kill -STOP "$PID"
sleep 0.2
inset "$WORK/film0.png"
for i in $(seq 1 $((FRAMES - 1))); do
  cp "$WORK/film$((i - 1)).png" "$WORK/film$i.png"
  run_until_new "$WORK/film$i.png"
done
turn "$WORK/left.png" Left Left Left Left Left Left
turn "$WORK/right.png" Right Right Right Right Right Right
kill -CONT "$PID"
back=$(closest "$WORK/left.png")
forth=$(closest "$WORK/right.png")
echo "the inset after Left is most like film frame $back of $FRAMES, after Right like $forth"
# A film frame holds one animation step, a few on a loaded machine: 24 steps back lie well
# before the last frames.
[ "$back" -le $((FRAMES - 4)) ] || fail "the left arrow did not turn the inset back"
[ "$forth" -ge $((FRAMES - 2)) ] || fail "the right arrow did not turn the inset forward"

xdotool key Escape
expect_exit 0
echo "start-up test passed"
