#!/usr/bin/env bash
# A minute of running with 20 switches between window and game mode: the resident memory
# stops growing after the first switches, and the frame rate afterwards is the one before.
source "$(dirname "$0")/e2e_lib.sh"

# AddressSanitizer holds freed memory back in a quarantine of up to 256 MB, which would
# read as growth; a small one keeps its checks and lets the measure mean something.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:quarantine_size_mb=4:thread_local_quarantine_size_kb=64"

SWITCHES=${SWITCHES:-20}
SWITCH_SECONDS=${SWITCH_SECONDS:-2}

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$PID/status"; }
in_game_mode() { [ "$(video_mode)" = "800x600" ]; }
in_desktop_mode() { [ "$(video_mode)" = "1024x768" ]; }

# measure_fps SECONDS: the frame rate over that many seconds.
measure_fps() {
  read_fps >/dev/null
  sleep "$1"
  read_fps
}

start_demo
sleep 2
before=$(measure_fps 5)
echo "frame rate before the switches: $before"
is_above "$before" 0 || fail "no frames before the switches"

samples=()
for i in $(seq 1 "$SWITCHES"); do
  xdotool key f
  if [ $((i % 2)) -eq 1 ]; then
    wait_until 30 in_game_mode || fail "switch $i did not enter game mode"
  else
    wait_until 30 in_desktop_mode || fail "switch $i did not leave game mode"
    wait_until 30 find_window || fail "no window after switch $i"
    focus_window
  fi
  sleep "$SWITCH_SECONDS"
  running || fail "the program ended after switch $i"
  samples+=("$(rss_kb)")
done
echo "resident memory after each switch (kB): ${samples[*]}"

sleep 2
after=$(measure_fps 5)
echo "frame rate after the switches: $after"
final=$(rss_kb)
echo "resident memory at the end: $final kB"

# The first switches may allocate for good (a second context's caches, game-mode state);
# from the fourth on nothing may grow beyond small allocator noise.
settled=${samples[3]}
for kb in "${samples[@]:4}" "$final"; do
  [ "$kb" -le $((settled + settled / 20 + 8192)) ] ||
    fail "resident memory grew from $settled kB to $kb kB"
done
awk -v a="$after" -v b="$before" 'BEGIN { exit !(a > 0.7 * b && a < 1.4 * b) }' ||
  fail "frame rate $after after the switches, $before before"

xdotool key Escape
expect_exit 0 30
echo "soak test passed"
