#!/usr/bin/env bash
# A hostile image in place of one texture (found by its contents, whatever its name; its decoder
# writes past a heap buffer and dies): one line for it, the other eight textures load, frames are
# drawn, Esc ends with 0.
source "$(dirname "$0")/e2e_lib.sh"
mkdir "$WORK/run" && cp -r shaders mtl "$WORK/run"
cp tests/loader/hostileimages/heapoverflow.pbm "$WORK/run/mtl/sign_board.png"
cd "$WORK/run"
start_demo
[ "$(grep -v '^$' "$ERR" | sed -E 's/,[0-9]+: /,N: /')" = \
  "ressourcemanager.cpp,N: couldn't load texture: mtl/sign_board.png" ] || fail "not just the hostile texture's line"
wait_until "$LONG" eval '[ "$(count_lines "^texture gl loaded 0 [1-9]")" -eq 8 ]' ||
  fail "the other eight textures were not uploaded"
window_geometry
expect_moving "the window" 640 480 "$X" "$Y"
quit_demo
