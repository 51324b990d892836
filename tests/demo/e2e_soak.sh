#!/usr/bin/env bash
# A minute of running with 20 switches between window and game mode: the resident memory
# stops growing after the first switches, and the frame rate afterwards is the one before.
source "$(dirname "$0")/e2e_lib.sh"

# AddressSanitizer holds freed memory back in a quarantine of up to 256 MB, which would
# read as growth; a small one keeps its checks and lets the measure mean something.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:quarantine_size_mb=4:thread_local_quarantine_size_kb=64"

SWITCHES=${SWITCHES:-20}
SWITCH_SECONDS=${SWITCH_SECONDS:-1.8}

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$PID/status"; }
in_game_mode() { [ "$(video_mode)" = "800x600" ]; }
in_desktop_mode() { [ "$(video_mode)" = "1024x768" ]; }

# best_fps: the highest frame rate of three readings 2.5 s apart. Load from elsewhere
# only ever lowers a reading, while frames drawn twice would raise every one.
best_fps() {
  local best=0 rate
  read_fps >/dev/null
  for _ in 1 2 3; do
    sleep 2.5
    rate=$(read_fps)
    if is_above "$rate" "$best"; then best=$rate; fi
  done
  echo "$best"
}

start_demo
sleep 2
before=$(best_fps)
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
after=$(best_fps)
echo "frame rate after the switches: $after"
final=$(rss_kb)
echo "resident memory at the end: $final kB"

# The first seconds, with the first switches, may allocate for good (the allocator's
# pools, a second context's caches, game-mode state); after that, nothing may grow
# beyond allocator noise.
settled=0
for kb in "${samples[@]:0:6}"; do
  [ "$kb" -le "$settled" ] || settled=$kb
done
limit=$((settled + settled * 3 / 100 + 4096))
for kb in "${samples[@]:6}" "$final"; do
  [ "$kb" -le "$limit" ] || fail "resident memory grew from $settled kB to $kb kB"
done
awk -v a="$after" -v b="$before" 'BEGIN { exit !(a > 0.7 * b && a < 1.4 * b) }' ||
  fail "frame rate $after after the switches, $before before"

xdotool key Escape
expect_exit 0 30
echo "soak test passed"
