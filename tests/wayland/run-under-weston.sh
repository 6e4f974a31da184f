#!/usr/bin/env bash
# Runs a command as a Wayland client of a private weston compositor, which itself runs as a window
# of a private Xvfb server; real X input (xdotool) on that window reaches the Wayland clients.
#   run-under-weston.sh command...
# The command runs with WAYLAND_DISPLAY and QT_QPA_PLATFORM=wayland, and with DISPLAY for driving
# the pointer and the keyboard and for looking at the screen.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../x11/xvfb.sh"
runtime="$(mktemp -d /tmp/mirvale-wayland.XXXXXX)"
chmod 0700 "$runtime"
server="" compositor=""
stop() {
    [ -n "$compositor" ] && kill "$compositor" 2>/dev/null && wait "$compositor" 2>/dev/null
    [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -rf "$runtime"
    return 0
}
trap stop EXIT
start_xvfb
export DISPLAY="$display"
# Weston's X backend takes the pointer's place only from the X pointer entering its window, and
# after that adds up the moves. Xvfb starts the pointer in the middle of the screen, inside the
# window weston is about to open at the top left, so it would never enter: weston would start
# from a place of its own and stay off by the difference. The pointer waits in the far corner,
# outside that window, and enters it with the tests' first move.
xdotool mousemove 1279 1023
[ "$(xdotool getmouselocation --shell | head -2 | tr '\n' ' ')" = "X=1279 Y=1023 " ] ||
    { echo "the X pointer could not be moved out of weston's window" >&2; exit 1; }
export XDG_RUNTIME_DIR="$runtime"
socket="mirvale-${display#:}"
# A desktop as people have it: windows float over a background, with a panel along the bottom
# edge. The pixman renderer needs no GPU.
printf '[core]\nidle-time=0\n[shell]\npanel-position=bottom\nlocking=false\nclose-animation=none\nstartup-animation=none\nfocus-animation=none\n[input-method]\npath=\n' >"$runtime/weston.ini"
weston --backend=x11-backend.so --shell=desktop-shell.so --use-pixman --width=900 --height=700 \
    --socket="$socket" --config="$runtime/weston.ini" >"$runtime/weston.log" 2>&1 &
compositor=$!
for _ in $(seq 1 200); do
    [ -S "$runtime/$socket" ] && break
    sleep 0.05
done
if [ ! -S "$runtime/$socket" ]; then
    echo "weston did not start:" >&2
    cat "$runtime/weston.log" >&2
    exit 1
fi
export WAYLAND_DISPLAY="$socket"
export QT_QPA_PLATFORM=wayland
"$@"
