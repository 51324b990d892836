#!/usr/bin/env bash
# The wall clock set back a minute while the program runs (libfaketime moves it for the program
# alone): frames go on being drawn and "t" still measures them, as both follow the monotonic clock.
source "$(dirname "$0")/e2e_lib.sh"
faketime=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
[ -n "$faketime" ] || fail "libfaketime is not installed"
echo +0 >"$WORK/offset"
start_demo env LD_PRELOAD="$faketime" FAKETIME_TIMESTAMP_FILE="$WORK/offset" FAKETIME_NO_CACHE=1 \
  FAKETIME_DONT_FAKE_MONOTONIC=1 ASAN_OPTIONS="$ASAN_OPTIONS:verify_asan_link_order=0"
window_geometry
expect_moving "the window" 640 480 "$X" "$Y"
read_fps >/dev/null
echo -60 >"$WORK/offset"
expect_moving "the window with the wall clock a minute back" 640 480 "$X" "$Y"
is_above "$(read_fps)" 0 || fail "no frames counted with the wall clock a minute back"
quit_demo
