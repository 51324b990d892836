#!/usr/bin/env bash
# The printing keys: "t" prints the frame rate on release only, F1 prints its key code and
# the pointer's x with no line end, Esc ends the program with status 0.
source "$(dirname "$0")/e2e_lib.sh"

start_demo
sleep 1

# Holding "t" prints nothing; letting it go prints one line with a rate above 0.
xdotool keydown t
sleep 2
[ "$(count_lines 'fps: ')" -eq 0 ] || fail "holding t printed the frame rate"
xdotool keyup t
wait_until 20 output_has 'fps: ' || fail "releasing t printed nothing"
sleep 1
[ "$(count_lines 'fps: ')" -eq 1 ] || fail "one release of t printed more than one line"
grep -qE '^main\.cpp,[0-9]+: fps: [0-9.e+-]+$' "$OUT" || fail "the fps line is malformed"
rate=$(read_fps)
is_above "$rate" 0 || fail "frame rate $rate"
echo "frame rate $rate"

# F1 at x = 320: "1" and "320" run together, twice on one line, and the next line written
# carries on where they stopped.
xdotool mousemove --window "$WID" 320 100
xdotool key F1
sleep 0.3
xdotool key F1
wait_until 20 output_has '13201320$' || fail "F1 did not print 1320 twice"
[ "$(tail -c 1 "$OUT" | od -An -c | tr -d ' ')" != '\n' ] || fail "F1 ended its line"
xdotool key t
wait_until 20 output_has '^13201320main\.cpp,[0-9]+: fps: ' ||
  fail "the fps line did not follow the F1 output on its line"

# Unbound keys, upper-case letters among them (shift held through the release), print
# nothing and change nothing.
bytes=$(wc -c <"$OUT")
xdotool key F2 F3 x 1
xdotool keydown Shift_L key a d w s f t keyup Shift_L
sleep 1
[ "$(wc -c <"$OUT")" -eq "$bytes" ] || fail "unbound keys printed something"
running || fail "an unbound key ended the program"
find_window || fail "an unbound key closed the window"

xdotool key Escape
expect_exit 0 30
echo "key test passed"
