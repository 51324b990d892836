#!/usr/bin/env bash
# Start-up: the kernel's report then the scene (kernel_test and demoscene_test check their lines),
# and a, d, w and s turning the monkey. The arrows turn the animated orbit: keybindings_test's.
source "$(dirname "$0")/e2e_lib.sh"
start_demo

# Each pattern matches a line after the previous pattern's line.
missing=$(printf '%s\n' '^kernel[a-z]*\.cpp,[0-9]+: init renderer:$' '^ FBO supported with ' \
  'mtl/thunderdome\.obj' 'mtl/sign\.obj' '^scheduler\.cpp,[0-9]+: ARGH 50 50$' |
  awk -v i=0 'NR == FNR { p[n++] = $0; next } i < n && $0 ~ p[i] { i++ } END { print p[i] }' - "$OUT")
[ -z "$missing" ] || fail "no line matching '$missing' after the lines before it"
[ "$(count_lines 'ARGH')" -eq 2 ] || fail "expected two scheduler tasks"
[ -z "$(grep -v '^$' "$ERR")" ] || fail "start-up wrote errors"

# The middle of the monkey's face, which nothing else moves, turns and then shows as before. A
# picture counts when still for 0.2 s and lit (the orbiting monkey's shadow sweeps it each turn).
face() { window_geometry && shot "$WORK/$1.png" 70 50 $((X + 285)) $((Y + 165)); }
off() { difference "$WORK/${2:-before}.png" "$WORK/$1.png"; }
still() { face "$1" && sleep 0.2 && face now && ! is_above "$(off now "$1")" 0.001 &&
  is_above "$(convert "$WORK/now.png" -colorspace gray -format '%[fx:mean]' info:)" 0.5; }
for pair in "a d" "w s"; do set -- $pair
  wait_until "$SHORT" still before || fail "the monkey's face is never lit and still"
  xdotool key "$1" && wait_until "$SHORT" eval 'still after && is_above "$(off after)" 0.05' ||
    fail "$1 did not turn the monkey"
  xdotool key "$2" && wait_until "$SHORT" eval 'still back && ! is_above "$(off back)" 0.001' ||
    fail "$2 did not turn the monkey back"
done
quit_demo
