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
  '^kernel[a-z]*\.cpp,[0-9]+: init renderer:$' \
  '^scheduler\.cpp,[0-9]+: ARGH 10 10$' \
  '^kernel[a-z]*\.cpp,[0-9]+: recompile shaders$' \
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
echo "inset against the main view: $apart"
is_above "$apart" 0.05 || fail "the inset shows the main view ($apart)"

# The arrow keys turn the inset's camera about the same axis as the animation does, so
# eight presses of the left arrow (1.6 rad) take the inset back to a view it showed about
# 32 animation steps before, and eight of the right arrow bring it forward again. A film
# of the inset is taken while the program runs in short bursts between stops.
grab() {
  import -window root -crop "160x120+$((wx + 447))+$((wy + 25))" +repage "$1"
  convert "$1" -scale 40x30! "$1"
}
burst() {
  kill -CONT "$PID"
  sleep 0.1
  kill -STOP "$PID"
  sleep 0.05
}
# closest IMAGE: the number of the film frame that the image is most like.
closest() {
  local best=0 best_difference=2 d
  for i in $(seq 0 $((FRAMES - 1))); do
    d=$(difference "$1" "$WORK/film$i.png")
    if is_above "$best_difference" "$d"; then
      best=$i
      best_difference=$d
    fi
  done
  echo "$best"
}
FRAMES=16
kill -STOP "$PID"
sleep 0.1
for i in $(seq 0 $((FRAMES - 1))); do
  grab "$WORK/film$i.png"
  burst
done
xdotool key --delay 30 Left Left Left Left Left Left Left Left
burst
grab "$WORK/left.png"
xdotool key --delay 30 Right Right Right Right Right Right Right Right
burst
grab "$WORK/right.png"
kill -CONT "$PID"
back=$(closest "$WORK/left.png")
forth=$(closest "$WORK/right.png")
echo "after the left arrows the inset is most like film frame $back of $FRAMES," \
  "after the right arrows frame $forth"
[ "$back" -lt $((FRAMES / 2)) ] || fail "the left arrow did not turn the inset back"
[ "$forth" -ge $((FRAMES / 2)) ] || fail "the right arrow did not turn the inset forward"

xdotool key Escape
expect_exit 0 30
echo "start-up test passed"
