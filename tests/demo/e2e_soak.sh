#!/usr/bin/env bash
# A minute with 20 switches between window and game mode: the resident memory stops growing
# after the first switches, and the frame rate after them is the one before.
source "$(dirname "$0")/e2e_lib.sh"
# AddressSanitizer's quarantine of freed memory (up to 256 MB) would read as growth.
export ASAN_OPTIONS="$ASAN_OPTIONS:quarantine_size_mb=4:thread_local_quarantine_size_kb=64"
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$PID/status"; }
# The best of three readings 2.5 s apart: load from elsewhere only ever lowers a reading,
# while frames drawn twice would raise every one.
best_fps() { read_fps >/dev/null && for _ in 1 2 3; do sleep 2.5 && read_fps; done | largest; }
largest() { sort -g | tail -n 1; }

start_demo && sleep 2
before=$(best_fps) samples=()
for i in $(seq 1 20); do
  xdotool key f # odd switches enter game mode
  wait_until $LONG eval 'if ((i%2)); then in_mode 800x600; else in_mode 1024x768 && find_window; fi' ||
    fail "switch $i did not take effect"
  ((i % 2)) || focus_window
  sleep 1.8 && running && samples+=("$(rss_kb)") || fail "the program ended after switch $i"
done
sleep 2 && after=$(best_fps) && samples+=("$(rss_kb)")
# The first switches may allocate for good (allocator pools, a second context's caches).
settled=$(printf '%s\n' "${samples[@]:0:6}" | largest) grown=$(printf '%s\n' "${samples[@]:6}" | largest)
[ "$grown" -le $((settled + settled * 3 / 100 + 4096)) ] ||
  fail "resident memory grew from $settled kB to $grown kB: ${samples[*]}"
awk -v a="$after" -v b="$before" 'BEGIN { exit !(a > 0.7 * b && a < 1.4 * b) }' ||
  fail "frame rate $after after the switches, $before before"
quit_demo
