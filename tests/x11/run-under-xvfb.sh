#!/usr/bin/env bash
# Runs a command against a private Xvfb server and stops the server after.
#   run-under-xvfb.sh [--window-manager] command...
# With --window-manager an openbox window manager frames the windows, as on a desktop.
set -euo pipefail
manager=false
if [ "${1:-}" = "--window-manager" ]; then
    manager=true
    shift
fi
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
server=""
trap '[ -n "$server" ] && kill $server 2>/dev/null; wait $server 2>/dev/null || true' EXIT
start_xvfb
export DISPLAY="$display"
export QT_QPA_PLATFORM=xcb
# Every test starts with the pointer in the far corner, where no window of theirs opens, rather
# than in the middle of the screen, where the calculator does.
xdotool mousemove 1279 1023
if $manager; then
    openbox >/dev/null 2>&1 &
    window_manager=$!
    trap 'kill $window_manager 2>/dev/null; kill $server 2>/dev/null; wait $server 2>/dev/null || true' EXIT
    for _ in $(seq 1 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        sleep 0.05
    done
fi
"$@"
