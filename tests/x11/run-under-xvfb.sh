#!/usr/bin/env bash
# Runs a command against a private Xvfb server on a free display and stops the server after.
set -euo pipefail
display=""
for number in $(seq 90 160); do
    if [ ! -e "/tmp/.X${number}-lock" ] && [ ! -e "/tmp/.X11-unix/X${number}" ]; then
        display=":$number"
        break
    fi
done
[ -n "$display" ] || { echo "no free X display" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.05
done
export DISPLAY="$display"
export QT_QPA_PLATFORM=xcb
"$@"
