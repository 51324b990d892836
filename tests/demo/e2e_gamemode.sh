#!/usr/bin/env bash
# "f" switches to full-screen game mode at 800 x 600 for real and back to a 640 x 480
# window; the keys work in both, and Esc ends the program from game mode with status 0.
source "$(dirname "$0")/e2e_lib.sh"

in_game_mode() { [ "$(video_mode)" = "800x600" ]; }
in_desktop_mode() { [ "$(video_mode)" = "1024x768" ]; }
window_size() {
  eval "$(xdotool getwindowgeometry --shell "$WID")"
  echo "${WIDTH}x${HEIGHT}"
}

in_desktop_mode || fail "the screen does not start at 1024x768 but $(video_mode)"
start_demo
sleep 1
[ "$(window_size)" = "640x480" ] || fail "the window is $(window_size)"
first_window=$WID

# Into game mode: the screen changes to 800 x 600 and shows moving frames.
xdotool key f
wait_until 30 in_game_mode || fail "f did not change the screen to 800x600: $(video_mode)"
window_gone() { ! xdotool search --name "^${TITLE}\$" >/dev/null 2>&1; }
wait_until 30 window_gone || fail "the window stayed open in game mode"
sleep 1
shot "$WORK/game_a.png"
sleep 1
shot "$WORK/game_b.png"
crop "$WORK/game_a.png" "$WORK/screen_a.png" 800 600 0 0
crop "$WORK/game_b.png" "$WORK/screen_b.png" 800 600 0 0
[ "$(colours "$WORK/screen_a.png")" -gt 200 ] || fail "game mode shows almost nothing"
moved=$(difference "$WORK/screen_a.png" "$WORK/screen_b.png")
is_above "$moved" 0.005 || fail "game mode draws no new frames ($moved)"
running || fail "the program ended in game mode"

# The keys work in game mode.
rate=$(read_fps)
is_above "$rate" 0 || fail "frame rate $rate in game mode"
echo "frame rate in game mode $rate"
# The last line written was the fps line, so F1's output starts a line of its own.
xdotool key F1
wait_until 20 output_has '^1[0-9]+$' || fail "F1 printed nothing in game mode"

# Back to a window of 640 x 480, at the desktop's own mode.
xdotool key f
wait_until 30 in_desktop_mode || fail "f did not restore the screen: $(video_mode)"
wait_until 30 find_window || fail "no window after leaving game mode"
[ "$WID" != "$first_window" ] || fail "the old window was kept"
[ "$(window_size)" = "640x480" ] || fail "the new window is $(window_size)"
focus_window
rate=$(read_fps)
is_above "$rate" 0 || fail "frame rate $rate in the new window"
echo "frame rate in the new window $rate"
[ "$(count_lines 'recompile shaders$')" -eq 3 ] ||
  fail "expected the programs built for three windows"

# Esc from game mode.
xdotool key f
wait_until 30 in_game_mode || fail "f did not enter game mode a second time"
sleep 0.5
xdotool key Escape
expect_exit 0 30
echo "game-mode test passed"
