#!/usr/bin/env bash
# A minute with 20 switches between window and game mode, judged by what the machine's load does
# not move: the display task stays one, and after the first switches the resident memory stops
# growing, the open descriptors stop increasing and the processor time spent per frame stays
# what it was before the switches. (The frame rate itself follows the load, so is not compared.)
source "$(dirname "$0")/e2e_lib.sh"
# AddressSanitizer's quarantine of freed memory (up to 256 MB) would read as growth.
export ASAN_OPTIONS="$ASAN_OPTIONS:quarantine_size_mb=4:thread_local_quarantine_size_kb=64"
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$PID/status"; }
descriptors() { find "/proc/$PID/fd" -mindepth 1 | wc -l; }
largest() { sort -g | tail -n 1; }
# Processor time of all the program's threads per frame drawn, in ms, over 6 s: the clock ticks
# used between the "t" readings that start and end it, over the frames drawn in between.
ticks() { awk '{ print $14 + $15 }' "/proc/$PID/stat"; }
work_per_frame() {
  local noted=0 seen=0 frames=0 start end # kept by note_rates
  read_fps >/dev/null && note_rates && frames=0 start=$end
  for _ in $(seq 1 60); do sleep 0.1 && note_rates; done # a late "t" may add a line meanwhile
  read_fps >/dev/null && note_rates
  awk -v ticks="$((end - start))" -v hz="$(getconf CLK_TCK)" -v frames="$frames" \
    'BEGIN { print (frames > 0 ? 1000 * ticks / hz / frames : -1) }'
}
# Counts the frames of each "fps: " line not noted yet: its rate (over the time since the line
# before) times the time since that line was seen; of lines seen together, the first takes all
# of it, the others having followed at once. Takes the ticks when the newest line is seen.
note_rates() {
  local now was=$noted
  now=$(date +%s.%N)
  read -r frames noted < <(grep -oE 'fps: [-0-9.e+a-z]+' "$OUT" | cut -d' ' -f2 | awk \
    -v noted="$noted" -v frames="$frames" -v seen="$seen" -v now="$now" \
    'NR > noted { frames += $1 * (now - seen); seen = now } END { print frames, NR }')
  [ "$noted" -eq "$was" ] || seen=$now end=$(ticks)
}

start_demo && sleep 2
before=$(work_per_frame) rss=() fds=()
for i in $(seq 1 20); do
  xdotool key f # odd switches enter game mode
  wait_until $LONG eval 'if ((i%2)); then in_mode 800x600; else in_mode 1024x768 && find_window; fi' ||
    fail "switch $i did not take effect"
  ((i % 2)) || focus_window
  sleep 1.8 && running && rss+=("$(rss_kb)") fds+=("$(descriptors)") ||
    fail "the program ended after switch $i"
done
after=$(work_per_frame) && rss+=("$(rss_kb)") fds+=("$(descriptors)")

[ "$(count_lines 'ARGH')" -eq 2 ] || fail "$(count_lines 'ARGH') tasks queued, not the display and animation tasks alone"
# The first switches may allocate for good (allocator pools, a second context's caches).
settled=$(printf '%s\n' "${rss[@]:0:6}" | largest) grown=$(printf '%s\n' "${rss[@]:6}" | largest)
[ "$grown" -le $((settled + settled * 3 / 100 + 4096)) ] ||
  fail "resident memory grew from $settled kB to $grown kB: ${rss[*]}"
settled=$(printf '%s\n' "${fds[@]:0:6}" | largest) grown=$(printf '%s\n' "${fds[@]:6}" | largest)
[ "$grown" -le "$settled" ] || fail "open descriptors grew from $settled to $grown: ${fds[*]}"
# Load changes it by a fifth at most; what a switch leaves behind for every frame multiplies it.
is_above "$before" 0 && is_above "$after" 0 &&
  ! is_above "$after" "$(awk -v b="$before" 'BEGIN { print 2 * b }')" ||
  fail "processor time per frame $after ms after the switches, $before ms before"
echo "processor time per frame $before ms before the switches, $after ms after;" \
  "resident memory ${rss[*]} kB; descriptors ${fds[*]}"
quit_demo
