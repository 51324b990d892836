#!/usr/bin/env bash
# The keys: "t" prints the frame rate on release only, F1 its key code and the pointer's x with
# no line end; "f", while held down, switches to game mode at 800 x 600 for real and back to a
# 640 x 480 window, the keys working in both; Esc, while held down, ends with 0.
source "$(dirname "$0")/e2e_lib.sh"
start_demo
# F1 ends the repeating of the held "t" and writes "1320"; t's line follows on release. A
# second F1 shows that the release printed one line only.
xdotool mousemove --window "$WID" 320 100 keydown t sleep 2 key F1
wait_until "$SHORT" output_has '^1320$' || fail "F1 did not print 1320"
[ "$(count_lines 'fps: ')" -eq 0 ] || fail "holding t printed the frame rate"
xdotool keyup t
wait_until "$SHORT" output_has '^1320main\.cpp,[0-9]+: fps: [0-9.e+-]+$' || fail "releasing t printed no fps line"
xdotool key F1
wait_until "$SHORT" eval '[ "$(tail -n 1 "$OUT")" = 1320 ]' || fail "F1 did not print 1320 again"
[ "$(count_lines 'fps: ')" -eq 1 ] || fail "one release of t printed more than one line"
is_above "$(sed -nE 's/^1320main\.cpp,[0-9]+: fps: //p' "$OUT")" 0 || fail "the fps line shows no frames"

press_until f in_mode 800x600 || fail "pressing f did not change the screen to 800x600"
expect_moving "game mode" 800 600 0 0
is_above "$(read_fps)" 0 || fail "no frames counted in game mode"
# The fps line ended its line, so F1's output starts a line of its own, with x in game mode.
xdotool mousemove 400 300 key F1
wait_until "$SHORT" eval '[ "$(tail -n 1 "$OUT")" = 1400 ]' || fail "F1 did not print 1400 in game mode"

press_until f in_mode 1024x768 || fail "pressing f did not restore the screen"
wait_until "$LONG" find_window || fail "no window after game mode"
window_geometry
[ "${WIDTH}x$HEIGHT" = 640x480 ] || fail "the new window is ${WIDTH}x$HEIGHT"
focus_window
is_above "$(read_fps)" 0 || fail "no frames counted in the new window"
output_has '^1400kernel[a-z]*\.cpp,[0-9]+: recompile shaders$' || fail "F1 in game mode ended its line"

press_until f in_mode 800x600 || fail "pressing f did not enter game mode a second time"
read_fps >/dev/null # the keys reach game mode again
quit_demo
