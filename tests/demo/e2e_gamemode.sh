#!/usr/bin/env bash
# "f" switches to game mode at 800 x 600 for real and back to a 640 x 480 window; the keys
# work in both, and Esc ends the program from game mode with status 0.
source "$(dirname "$0")/e2e_lib.sh"
in_desktop_mode || fail "the screen does not start at 1024x768 but $(video_mode)"
start_demo
window_geometry
[ "${WIDTH}x$HEIGHT" = 640x480 ] || fail "the window is ${WIDTH}x$HEIGHT"
first=$WID

xdotool key f
wait_until "$LONG" in_game_mode || fail "f did not change the screen to 800x600: $(video_mode)"
wait_until "$LONG" eval '! find_window' || fail "the window stayed open in game mode"
expect_moving "game mode" 800 600 0 0
is_above "$(read_fps)" 0 || fail "no frames counted in game mode"
# The fps line ended its line, so F1's output starts a line of its own.
xdotool key F1
wait_until "$LONG" output_has '^1[0-9]+($|main)' || fail "F1 printed nothing in game mode"

xdotool key f
wait_until "$LONG" in_desktop_mode || fail "f did not restore the screen: $(video_mode)"
wait_until "$LONG" find_window || fail "no window after game mode"
window_geometry
[ "$WID" != "$first" ] || fail "the old window was kept"
[ "${WIDTH}x$HEIGHT" = 640x480 ] || fail "the new window is ${WIDTH}x$HEIGHT"
focus_window
is_above "$(read_fps)" 0 || fail "no frames counted in the new window"
[ "$(count_lines 'recompile shaders$')" -eq 3 ] || fail "expected programs built for three windows"

xdotool key f
wait_until "$LONG" in_game_mode || fail "f did not enter game mode a second time"
read_fps >/dev/null  # the keys reach game mode again
xdotool key Escape
expect_exit 0
echo "game-mode test passed"
