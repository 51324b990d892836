#!/usr/bin/env bash
# Start-up: the lines in order, and a, d, w and s turning the monkey about its own axes (bound
# before the scene is made, they would crash the program); the arrows turn the orbit, which the
# animation turns too, so the key bindings test checks them.
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

# The middle of its face, which nothing else moves, turns and then shows as before. Pictures count
# when lit (the orbiting monkey's shadow sweeps the face once a turn) and still for 0.2 s.
window_geometry
face() { shot "$WORK/$1.png" 70 50 $((X + 285)) $((Y + 165)); }
off() { difference "$WORK/$1.png" "$WORK/$2.png"; }
lit_still() { face "$1" && sleep 0.2 && face now && ! is_above "$(off "$1" now)" 0.001 &&
  is_above "$(convert "$WORK/now.png" -colorspace gray -format '%[fx:mean]' info:)" 0.5; }
for keys in "a d" "w s"; do
  wait_until "$SHORT" lit_still before || fail "the monkey's face is never lit and still"
  xdotool key "${keys% *}"
  wait_until "$SHORT" eval 'lit_still after && is_above "$(off before after)" 0.05' ||
    fail "${keys% *} did not turn the monkey"
  xdotool key "${keys#* }"
  wait_until "$SHORT" eval 'lit_still back && ! is_above "$(off before back)" 0.001' ||
    fail "${keys#* } did not turn the monkey back"
done
quit_demo
