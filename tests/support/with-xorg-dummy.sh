#!/usr/bin/env bash
# Runs a command on a private X server whose screen can switch modes, as GLUT's game mode
# needs: Xorg with the dummy video driver and tests/support/xorg-dummy.conf.
# Usage: tests/support/with-xorg-dummy.sh <command> [arguments...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
log=$(mktemp /tmp/xorg-dummy.XXXXXX)
server=""
stop_server() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  server=""
}
trap 'stop_server; rm -f "$log" "$log.old"' EXIT

# Another test may take a display number at the same moment; a server that fails to
# start gives way to the next number.
for display in $(seq 90 140); do
  [ -e "/tmp/.X$display-lock" ] && continue
  Xorg ":$display" -config "$here/xorg-dummy.conf" -noreset -nolisten tcp -logfile "$log" \
    >/dev/null 2>&1 &
  server=$!
  for _ in $(seq 1 100); do
    kill -0 "$server" 2>/dev/null || { server="" && break; }
    [ -S "/tmp/.X11-unix/X$display" ] && xrandr --display ":$display" >/dev/null 2>&1 && break 2
    sleep 0.1
  done
  stop_server
done
[ -n "$server" ] ||
  { echo "with-xorg-dummy.sh: could not start Xorg with the dummy driver" >&2; exit 1; }
DISPLAY=":$display" "$@"
