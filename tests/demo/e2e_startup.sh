#!/usr/bin/env bash
# Start-up: the lines in order, and the arrows and letters handled (bound before the scene is
# made, they would turn nothing and crash the program).
source "$(dirname "$0")/e2e_lib.sh"
start_demo

# Each pattern matches a line after the previous pattern's line.
missing=$(printf '%s\n' \
  '^kernel[a-z]*\.cpp,[0-9]+: init renderer:$' '^scheduler\.cpp,[0-9]+: ARGH 10 10$' \
  '^kernel[a-z]*\.cpp,[0-9]+: recompile shaders$' '^ Using GLEW [0-9]' '^ OpenGL ver: ' \
  '^ vertex and fragment shader supported$' \
  '^ Texture Units available: [0-9]+ ,max size: [0-9]+$' \
  '^ FBO supported with max color attachments: [0-9]+$' '^$' \
  'mtl/thunderdome\.obj' '^counts: vc[1-9]' 'mtl/monkey\.obj' '^counts: vc[1-9]' \
  'mtl/sign\.obj' '^counts: vc[1-9]' '^scheduler\.cpp,[0-9]+: ARGH 50 50$' |
  awk -v i=0 'NR == FNR { p[n++] = $0; next } i < n && $0 ~ p[i] { i++ } END { print p[i] }' - "$OUT")
[ -z "$missing" ] || fail "no line matching '$missing' after the lines before it"
[ "$(count_lines 'ARGH')" -eq 2 ] || fail "expected two scheduler tasks"
[ -z "$(grep -v '^$' "$ERR")" ] || fail "start-up wrote errors"

xdotool key --delay 20 Left Right Up Down a d w s F1
wait_until "$SHORT" eval '[ "$(tail -n 1 "$OUT")" = 1320 ]' || fail "the arrows and letters were not handled"
quit_demo
