#!/usr/bin/env bash
# Runs a command on a private X server whose screen can switch modes, as GLUT's game mode
# needs: Xorg with the dummy video driver and tests/support/xorg-dummy.conf.
# Usage: tests/support/with-xorg-dummy.sh <command> [arguments...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
files=$(mktemp -d "${TMPDIR:-/tmp}/xorg-dummy.XXXXXX")
server=""
stop_server() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  server=""
}
trap 'stop_server; rm -rf "$files"' EXIT

# The server chooses the display number itself and tells it once it listens there: it takes
# a number by creating its lock file, which no other server can then take, so a server that
# answers on the number told is this one.
: >"$files/display" # before the server, which may write into it at once
Xorg -displayfd 3 -config "$here/xorg-dummy.conf" -noreset -nolisten tcp \
  -logfile "$files/log" 3>"$files/display" >/dev/null 2>&1 &
server=$!
display=""
for _ in $(seq 1 600); do
  read -r line <"$files/display" 2>/dev/null && display=$line && break # a whole line
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
[ -n "$display" ] && kill -0 "$server" 2>/dev/null || {
  echo "with-xorg-dummy.sh: could not start Xorg with the dummy driver" >&2
  tail -n 20 "$files/log" >&2
  exit 1
}
DISPLAY=":$display" "$@"
