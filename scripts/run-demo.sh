#!/usr/bin/env bash
# Builds the demonstration and runs it from the repository root, its working directory.
# With a display it opens the window (Esc ends it). Without one it runs the program on a
# virtual X display for a few seconds, saves a screenshot of its window and says where.
# Usage: scripts/run-demo.sh [--no-install] [screenshot file, default out/screenshot.png]
# The build goes to build/ (BUILD_DIR overrides it); SECONDS_TO_RUN sets the virtual run.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--no-install" ]; then
  shift
else
  scripts/install-deps.sh
fi
screenshot=$(realpath -m "${1:-out/screenshot.png}")

build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)" --target vantor

if [ -n "${DISPLAY:-}" ]; then
  exec "$build/src/vantor"
fi

mkdir -p "$(dirname "$screenshot")" out
log=$PWD/out/demo.log
export VANTOR=$build/src/vantor SCREENSHOT=$screenshot LOG=$log SECONDS_TO_RUN=${SECONDS_TO_RUN:-5}
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -euo pipefail
  "$VANTOR" >"$LOG" 2>&1 &
  pid=$!
  trap "kill $pid 2>/dev/null || true" EXIT
  window=
  for _ in $(seq 1 600); do
    window=$(xdotool search --name "^Vantor- GLUT Tutorial\$" 2>/dev/null | tail -n 1) || true
    [ -n "$window" ] && grep -q "ARGH 50 50" "$LOG" && break
    kill -0 $pid 2>/dev/null || { cat "$LOG" >&2; exit 1; }
    sleep 0.1
  done
  [ -n "$window" ] || { echo "the demonstration opened no window" >&2; exit 1; }
  sleep "$SECONDS_TO_RUN"
  import -window "$window" "$SCREENSHOT"
  xdotool windowfocus "$window" key Escape
  for _ in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
'
echo "No display: ran the demonstration for ${SECONDS_TO_RUN} s on a virtual one."
echo "Screenshot: $screenshot"
echo "Its output: $log"
