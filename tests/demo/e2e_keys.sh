#!/usr/bin/env bash
# The printing keys: "t" prints the frame rate on release only, F1 its key code and the
# pointer's x with no line end; unbound and upper-case keys do nothing; Esc ends with 0.
source "$(dirname "$0")/e2e_lib.sh"
start_demo

# Hold "t", then press F1 with the pointer at x = 320, which ends the repeating of "t";
# F1 writes "1320" with no line end. Only the release of "t" writes its line, after that.
xdotool mousemove --window "$WID" 320 100 keydown t sleep 2 key F1
wait_until "$LONG" output_has '^1320$' || fail "F1 did not print 1320"
sleep 1
[ "$(count_lines 'fps: ')" -eq 0 ] || fail "holding t printed the frame rate"
xdotool keyup t
wait_until "$LONG" output_has '^1320main\.cpp,[0-9]+: fps: ' || fail "releasing t printed nothing"
sleep 1
[ "$(count_lines 'fps: ')" -eq 1 ] || fail "one release of t printed more than one line"
rate=$(sed -nE 's/^1320main\.cpp,[0-9]+: fps: ([0-9.e+-]+)$/\1/p' "$OUT")
is_above "${rate:-0}" 0 || fail "the fps line is malformed or shows no frames"

bytes=$(stat -c %s "$OUT")
xdotool key F2 F3 x 1 keydown Shift_L key a d w s f t keyup Shift_L
sleep 1
[ "$(stat -c %s "$OUT")" -eq "$bytes" ] || fail "unbound keys printed something"
find_window || fail "an unbound key closed the window"

xdotool key Escape
expect_exit 0
echo "key test passed"
