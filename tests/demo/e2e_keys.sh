#!/usr/bin/env bash
# The keys: "t" prints the frame rate on release only, F1 its key code and the pointer's x
# with no line end; "f", while still held down, switches to game mode at 800 x 600 for real
# and back to a 640 x 480 window, the keys working in both; Esc, while held down, ends with
# 0, also from game mode. Without vertex shaders the program ends with 1 before it loads
# any mesh.
source "$(dirname "$0")/e2e_lib.sh"
MESA_EXTENSION_OVERRIDE="-GL_ARB_vertex_shader" timeout "$LONG" "$VANTOR" >"$OUT" 2>"$ERR" &&
  fail "ran without shaders" || [ $? -eq 1 ] || fail "without shaders: exit status not 1"
output_has '^ Using GLEW ' && output_has '^ OpenGL ver: ' || fail "the driver was not reported"
grep -qE 'no shader support!!!!!$' "$ERR" || fail "no report of the missing shaders"
! output_has 'mtl/|mesh loaded|counts:|shader supported' || fail "went on after the report"

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
rate=$(sed -nE 's/^1320main\.cpp,[0-9]+: fps: ([0-9.e+-]+)$/\1/p' "$OUT")
is_above "${rate:-0}" 0 || fail "the fps line shows no frames"

# "f" acts while held down.
press_until f in_game_mode || fail "pressing f did not change the screen to 800x600: $(video_mode)"
expect_moving "game mode" 800 600 0 0
is_above "$(read_fps)" 0 || fail "no frames counted in game mode"
# The fps line ended its line, so F1's output starts a line of its own, with x in game mode.
xdotool mousemove 400 300 key F1
wait_until "$SHORT" eval '[ "$(tail -n 1 "$OUT")" = 1400 ]' || fail "F1 did not print 1400 in game mode"

press_until f in_desktop_mode || fail "pressing f did not restore the screen: $(video_mode)"
wait_until "$LONG" find_window || fail "no window after game mode"
window_geometry
[ "${WIDTH}x$HEIGHT" = 640x480 ] || fail "the new window is ${WIDTH}x$HEIGHT"
focus_window
is_above "$(read_fps)" 0 || fail "no frames counted in the new window"
output_has '^1400kernel[a-z]*\.cpp,[0-9]+: recompile shaders$' || fail "F1 in game mode ended its line"

press_until f in_game_mode || fail "pressing f did not enter game mode a second time"
read_fps >/dev/null # the keys reach game mode again
quit_demo
