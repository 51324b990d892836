#!/usr/bin/env bash
# Started with standard error closed and one texture missing: descriptor 2 is /dev/null, not the
# display connection, so the texture's error line goes nowhere; frames are drawn and Esc ends
# with 0. (Written into the connection, the line left the window black and deaf to Esc.)
source "$(dirname "$0")/e2e_lib.sh"
mkdir "$WORK/run" && cp -r shaders mtl "$WORK/run" && rm "$WORK/run/mtl/sign_board.png"
cd "$WORK/run"
start_demo sh -c 'exec "$0" 2>&-'
wait_until "$SHORT" output_has '^texture gl loaded 0 0/0$' || fail "the missing texture was not reported as empty"
[ "$(readlink "/proc/$PID/fd/2")" = /dev/null ] ||
  fail "standard error is $(readlink "/proc/$PID/fd/2"), not /dev/null"
window_geometry
expect_moving "the window" 640 480 "$X" "$Y"
quit_demo
