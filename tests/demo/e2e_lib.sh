# Sourced by the end-to-end tests: the program ($1) runs from the repository root under an X
# server of its own (tests/support/with-xorg-dummy.sh), driven with xdotool and ImageMagick.
set -euo pipefail
VANTOR=$(realpath "$1")
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
WORK=$(mktemp -d "${TMPDIR:-/tmp}/vantor-e2e.XXXXXX")
OUT=$WORK/stdout ERR=$WORK/stderr PID=
LONG=120 # start-up and new windows, allowing for a sanitizer build on a loaded machine
SHORT=30 # what a key does to the running program
# The GL driver's early unloading leaves its leaks unsuppressible; unit tests look for ours.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"

cleanup() {
  local status=$?
  if [ -n "$PID" ]; then kill -CONT "$PID" && kill "$PID" && wait "$PID"; fi 2>/dev/null || true
  [ "$status" -ne 0 ] && echo "output and pictures kept in $WORK" >&2 || rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; tail -n 20 "$OUT" "$ERR" >&2; exit 1; }

# wait_until SECONDS COMMAND...: runs the command every POLL seconds until it succeeds.
wait_until() {
  local deadline=$((SECONDS + $1)) && shift
  until "$@"; do [ "$SECONDS" -lt "$deadline" ] && sleep "${POLL:-0.1}" || return 1; done
}

running() { kill -0 "$PID" 2>/dev/null; }
output_has() { grep -qE -- "$1" "$OUT"; }
count_lines() { grep -cE -- "$1" "$OUT" || true; }
is_above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
video_mode() { xvidtune -show 2>/dev/null | awk '{ gsub(/"/, "", $1); print $1 }'; }
in_game_mode() { [ "$(video_mode)" = "800x600" ]; }
in_desktop_mode() { [ "$(video_mode)" = "1024x768" ]; }

# The newest window with the title. Without a window manager nobody gives it the keyboard
# focus, so focus_window does.
find_window() { WID=$(xdotool search --name '^Vantor- GLUT Tutorial$' 2>&- | tail -1); [ "$WID" ]; }
focus_window() {
  xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
  xdotool mousemove --window "$WID" 320 240
}
window_geometry() { eval "$(xdotool getwindowgeometry --shell "$WID")"; } # X Y WIDTH HEIGHT

# Starts the program and waits for its window and the animation task, queued last.
start_demo() {
  "$VANTOR" >"$OUT" 2>"$ERR" & PID=$!
  wait_until "$LONG" find_window || fail "no window"
  wait_until "$LONG" output_has "ARGH 50 50" || fail "start-up did not finish"
  focus_window
}

# press_until KEY COMMAND...: holds the key down until the command succeeds, then lets it go,
# so that what a key does on its press shows before its release.
press_until() {
  local key=$1 && shift
  # Not repeated: a repeat could reach a window made meanwhile, as a press of its own.
  xset -r "$(xmodmap -pke | awk -v key="$key" '$4 == key { print $2; exit }')"
  xdotool keydown "$key"
  wait_until "$SHORT" "$@" && xdotool keyup "$key"
}

quit_demo() {
  press_until Escape eval '! running' || fail "pressing Esc did not end the program"
  wait "$PID" || fail "exit status $?, expected 0"
  PID=
}

# Releases "t", again every few seconds while no "fps: " line follows (a window just made
# may not have the keyboard yet), and prints the rate of the last such line.
read_fps() {
  local before=$(count_lines 'fps: ') deadline=$((SECONDS + SHORT))
  until [ "$(count_lines 'fps: ')" -gt "$before" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "no fps line after t"
    xdotool key t
    wait_until 3 eval "[ \$(count_lines 'fps: ') -gt $before ]" || true
  done
  grep -oE 'fps: [-0-9.e+a-z]+' "$OUT" | tail -n 1 | cut -d' ' -f2
}

# shot FILE [W H X Y]: the screen, or a rectangle of it from the top left.
shot() { import -window root ${2:+-crop "${2}x${3}+${4}+${5}" +repage} "$1"; }
# Root-mean-square difference of two equal-sized images, 0 to 1.
difference() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed -E 's/.*\((.*)\)/\1/' || true; }
# expect_moving NAME W H X Y: the rectangle fills with detail, then changes.
expect_moving() {
  local name=$1 && shift
  wait_until "$LONG" detailed "$@" || fail "$name shows almost nothing"
  wait_until "$LONG" changed "$@" || fail "$name draws no new frames"
}
detailed() { shot "$WORK/a.png" "$@" && [ "$(identify -format %k "$WORK/a.png")" -gt 200 ]; }
changed() { shot "$WORK/b.png" "$@" && is_above "$(difference "$WORK/a.png" "$WORK/b.png")" 0.005; }
