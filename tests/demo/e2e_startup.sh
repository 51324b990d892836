#!/usr/bin/env bash
# Start-up: the lines in their order, frames drawn, an inset with a view of its own that
# the arrow keys turn.
source "$(dirname "$0")/e2e_lib.sh"

start_demo

# expect_in_order PATTERN...: each pattern matches a line after the previous one's.
expect_in_order() {
  local from=0 line
  for pattern in "$@"; do
    line=$(tail -n +"$((from + 1))" "$OUT" | grep -nE -m 1 -- "$pattern" | cut -d: -f1 || true)
    [ -n "$line" ] || fail "no line matching '$pattern' after line $from"
    from=$((from + line))
  done
}

expect_in_order \
  '^kernel\.cpp,[0-9]+: init renderer:$' \
  '^scheduler\.cpp,[0-9]+: ARGH 10 10$' \
  '^kernel\.cpp,[0-9]+: recompile shaders$' \
  '^ Using GLEW [0-9]' \
  '^ OpenGL ver: ' \
  '^ vertex and fragment shader supported$' \
  '^ Texture Units available: [0-9]+ ,max size: [0-9]+$' \
  '^ FBO supported with max color attachments: [0-9]+$' \
  '^$' \
  'mtl/thunderdome\.obj' \
  '^counts: vc[1-9]' \
  'mtl/monkey\.obj' \
  '^counts: vc[1-9]' \
  'mtl/sign\.obj' \
  '^counts: vc[1-9]' \
  '^scheduler\.cpp,[0-9]+: ARGH 50 50$'
[ "$(count_lines 'ARGH')" -eq 2 ] || fail "expected two scheduler tasks"
[ ! -s "$ERR" ] || [ -z "$(grep -v '^$' "$ERR")" ] || fail "start-up wrote errors"

read -r wx wy < <(window_origin)
# The inset covers 0.7 to 0.95 of the 640 x 480 window, measured from its lower left:
# pixels 447 to 606 across and 25 to 144 down.
inset() { crop "$1" "$2" 160 120 $((wx + 447)) $((wy + 25)); }
main_view() { crop "$1" "$2" 640 480 "$wx" "$wy"; }

# Frames are drawn: the picture is full of detail and moves with the animation.
sleep 1
shot "$WORK/a.png"
sleep 1
shot "$WORK/b.png"
main_view "$WORK/a.png" "$WORK/main_a.png"
main_view "$WORK/b.png" "$WORK/main_b.png"
[ "$(colours "$WORK/main_a.png")" -gt 200 ] || fail "the window shows almost nothing"
moved=$(difference "$WORK/main_a.png" "$WORK/main_b.png")
is_above "$moved" 0.005 || fail "two frames a second apart are alike ($moved)"

# The inset is not the main view made small.
inset "$WORK/b.png" "$WORK/inset_b.png"
convert "$WORK/main_b.png" -resize 160x120! "$WORK/small_b.png"
apart=$(difference "$WORK/inset_b.png" "$WORK/small_b.png")
is_above "$apart" 0.05 || fail "the inset shows the main view ($apart)"

# The arrow keys turn the inset's camera. The animation turns it too, so the program is
# stopped while the keys are queued, and the change they make is set against the change
# that the same time brings without them.
step() {
  kill -CONT "$PID"
  sleep 0.5
  kill -STOP "$PID"
  sleep 0.2
}
kill -STOP "$PID"
sleep 0.2
shot "$WORK/c.png"
step
shot "$WORK/d.png"
xdotool key --delay 30 Up Up Up Up Up Up Up Up
step
shot "$WORK/e.png"
kill -CONT "$PID"
inset "$WORK/c.png" "$WORK/inset_c.png"
inset "$WORK/d.png" "$WORK/inset_d.png"
inset "$WORK/e.png" "$WORK/inset_e.png"
unturned=$(difference "$WORK/inset_c.png" "$WORK/inset_d.png")
turned=$(difference "$WORK/inset_d.png" "$WORK/inset_e.png")
echo "inset change without keys $unturned, with the up arrow $turned"
is_above "$turned" 0.03 || fail "the up arrow left the inset as it was ($turned)"
is_above "$turned" "$(awk -v u="$unturned" 'BEGIN { print 2 * u }')" ||
  fail "the up arrow changed the inset no more than time alone ($turned, $unturned)"

xdotool key Escape
expect_exit 0 30
echo "start-up test passed"
