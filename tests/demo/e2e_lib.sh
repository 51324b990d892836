# Helpers for the end-to-end tests of the demonstration program. Each test script sources
# this file, runs under an X server of its own (tests/support/with-xorg-dummy.sh) and is
# given the program as its first argument. The program runs from the repository root, its
# working directory, and is driven with xdotool; screens are read with ImageMagick.

set -euo pipefail

VANTOR=$(realpath "$1")
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$ROOT"

TITLE="Vantor- GLUT Tutorial"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/vantor-e2e.XXXXXX")
OUT=$WORK/stdout
ERR=$WORK/stderr
PID=
WID=

# In the sanitizer build the GL vendor library unloads the driver before the leak check
# at exit, so the driver's allocations cannot be told from ours there; our own leaks are
# the unit tests' to find, and the soak test watches the program's memory.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"

# The GL tests may run under a slow sanitizer build; every wait allows for that.
READY_TIMEOUT=${READY_TIMEOUT:-120}

cleanup() {
  local status=$?
  if [ -n "$PID" ] && kill -0 "$PID" 2>/dev/null; then
    kill -CONT "$PID" 2>/dev/null || true
    kill "$PID" 2>/dev/null || true
    wait "$PID" 2>/dev/null || true
  fi
  if [ "$status" -eq 0 ]; then
    rm -rf "$WORK"
  else
    echo "output and screenshots kept in $WORK" >&2
  fi
}
trap cleanup EXIT

fail() {
  {
    echo "FAIL: $*"
    echo "--- standard output (last lines)"
    tail -n 30 "$OUT" 2>/dev/null || true
    echo
    echo "--- standard error (last lines)"
    tail -n 30 "$ERR" 2>/dev/null || true
  } >&2
  exit 1
}

# wait_until SECONDS COMMAND...: polls the command every 0.1 s; false after the time.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

running() { kill -0 "$PID" 2>/dev/null; }
output_has() { grep -qE -- "$1" "$OUT"; }
count_lines() { grep -cE -- "$1" "$OUT" || true; }

# The program's own window, the newest one when several have the title.
find_window() {
  WID=$(xdotool search --name "^${TITLE}\$" 2>/dev/null | tail -n 1)
  [ -n "$WID" ]
}

# Without a window manager nobody gives a new window the keyboard focus.
focus_window() {
  xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
  xdotool mousemove --window "$WID" 320 240
}

# Starts the program (extra arguments go before it, e.g. env VAR=value) and waits for its
# window and the end of its start-up: the animation task is queued last.
start_demo() {
  "$@" "$VANTOR" >"$OUT" 2>"$ERR" &
  PID=$!
  wait_until "$READY_TIMEOUT" find_window || fail "no window titled '$TITLE'"
  wait_until "$READY_TIMEOUT" output_has "ARGH 50 50" || fail "start-up did not finish"
  running || fail "the program ended during start-up"
  focus_window
}

# expect_exit STATUS SECONDS: the program ends within the time with that status.
expect_exit() {
  wait_until "$2" eval '! running' || fail "the program did not end within $2 s"
  local status=0
  wait "$PID" || status=$?
  PID=
  [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
}

# shot FILE: the whole screen.
shot() { import -window root "$1"; }

# crop IN OUT W H X Y: a rectangle of a screenshot, in screen pixels from the top left.
crop() { convert "$1" -crop "${3}x${4}+${5}+${6}" +repage "$2"; }

# difference A B: root-mean-square difference of two equal-sized images, 0 to 1.
difference() {
  local result
  result=$(compare -metric RMSE "$1" "$2" null: 2>&1 || true)
  echo "$result" | sed -E 's/.*\(([0-9.e+-]+)\).*/\1/'
}

# colours FILE: how many distinct colours an image holds.
colours() { identify -format '%k' "$1"; }

# is_above A B: true when the number A is greater than B.
is_above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# The window's position on the screen, as X and Y.
window_origin() {
  eval "$(xdotool getwindowgeometry --shell "$WID")"
  echo "$X $Y"
}

# The current video mode of the screen, e.g. 800x600.
video_mode() { xvidtune -show 2>/dev/null | awk '{ gsub(/"/, "", $1); print $1 }'; }

# read_fps: releases "t" and returns the rate of the one "fps: " line that it prints.
read_fps() {
  local before
  before=$(count_lines 'fps: ')
  xdotool key t
  wait_until 20 eval "[ \$(count_lines 'fps: ') -gt $before ]" || fail "no fps line after t"
  grep -oE 'fps: [-0-9.e+a-z]+' "$OUT" | tail -n 1 | cut -d' ' -f2
}
