#!/usr/bin/env bash
# Starts the calculator on a screen scaled by 2 (QT_SCALE_FACTOR) and saves a picture of its
# window, frame included, as it first opens. Runs inside an X session with a window manager.
#   scaled-screenshot.sh program file
set -euo pipefail
QT_SCALE_FACTOR=2 "$1" &
program=$!
window=""
for _ in $(seq 1 100); do
    window=$(xdotool search --onlyvisible --name '^Mirvale V\.' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
sleep 1
info=$(xwininfo -id "$window")
X=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
Y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
WIDTH=$(sed -n 's/.*Width: *//p' <<<"$info")
HEIGHT=$(sed -n 's/.*Height: *//p' <<<"$info")
frame=$(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //')
IFS=', ' read -r fl fr ft fb <<<"${frame:-0, 0, 0, 0}"
import -window root -crop "$((WIDTH + fl + fr))x$((HEIGHT + ft + fb))+$((X - fl))+$((Y - ft))" +repage "$2"
kill $program
