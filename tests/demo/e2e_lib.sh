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
  [ -z "$PID" ] || { kill "$PID" && wait "$PID"; } 2>/dev/null || true
  [ "$status" -ne 0 ] && echo "output and pictures kept in $WORK" >&2 || rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; tail -n 20 "$OUT" "$ERR" >&2; exit 1; }
wait_until() { # SECONDS COMMAND...: runs the command every 0.1 s until it succeeds
  local deadline=$((SECONDS + $1)) && shift
  until "$@"; do [ "$SECONDS" -lt "$deadline" ] && sleep 0.1 || return 1; done
}
running() { kill -0 "$PID" 2>/dev/null; }
output_has() { grep -qE -- "$1" "$OUT"; }
count_lines() { grep -cE -- "$1" "$OUT" || true; }
is_above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
in_mode() { [[ "$(xvidtune -show 2>/dev/null)" == "\"$1\""* ]]; } # in_mode WIDTHxHEIGHT

# The newest window with the title; with no window manager, focus_window gives it the keyboard.
find_window() { WID=$(xdotool search --name '^Vantor- GLUT Tutorial$' 2>&- | tail -1); [ "$WID" ]; }
focus_window() {
  xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
  xdotool mousemove --window "$WID" 320 240
}
window_geometry() { eval "$(xdotool getwindowgeometry --shell "$WID")"; } # X Y WIDTH HEIGHT

# start_demo [COMMAND...]: starts the program (through the command, which ends by running its
# last argument in its own process), waits for its window and the animation task, queued last.
start_demo() {
  "$@" "$VANTOR" >"$OUT" 2>"$ERR" & PID=$!
  wait_until "$LONG" find_window || fail "no window"
  wait_until "$LONG" output_has "ARGH 50 50" || fail "start-up did not finish"
  focus_window
}

# press_until KEY COMMAND...: holds the key down, not repeated (a repeat could reach a window
# made meanwhile as a press of its own), until the command succeeds, then lets it go.
press_until() {
  xset -r "$(xmodmap -pke | awk -v key="$1" '$4 == key { print $2; exit }')"
  xdotool keydown "$1"
  wait_until "$SHORT" "${@:2}" && xdotool keyup "$1"
}
quit_demo() {
  press_until Escape eval '! running' || fail "pressing Esc did not end the program"
  wait "$PID" || fail "exit status $?, expected 0"
  PID=
}

# Releases "t", again every 3 s while no new "fps: " line follows (a window just made may
# not have the keyboard yet), and prints the rate of the last such line.
read_fps() {
  wait_until "$SHORT" fps_after_t "$(count_lines 'fps: ')" || fail "no fps line after t"
  grep -oE 'fps: [-0-9.e+a-z]+' "$OUT" | tail -n 1 | cut -d' ' -f2
}
fps_after_t() { xdotool key t && wait_until 3 eval "[ \$(count_lines 'fps: ') -gt $1 ]"; }

# shot FILE [W H X Y]: the screen, or a rectangle of it from the top left; difference: the
# root-mean-square difference of two equal-sized images, 0 to 1.
shot() { import -window root ${2:+-crop "${2}x${3}+${4}+${5}" +repage} "$1"; }
difference() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed -E 's/.*\((.*)\)/\1/' || true; }
expect_moving() { # NAME W H X Y: the rectangle fills with detail, then changes
  wait_until "$LONG" detailed "${@:2}" || fail "$1 shows almost nothing"
  wait_until "$SHORT" changed "${@:2}" || fail "$1 draws no new frames"
}
detailed() { shot "$WORK/a.png" "$@" && [ "$(identify -format %k "$WORK/a.png")" -gt 200 ]; }
changed() { shot "$WORK/b.png" "$@" && is_above "$(difference "$WORK/a.png" "$WORK/b.png")" 0.005; }
