#!/usr/bin/env bash
# Starts a program on the current X display, moves the pointer away from its window, lets it
# settle, and prints the processor time (user + system) it takes over an idle period.
#   bench/idle-cpu.sh NAME PROGRAM [SECONDS]
set -euo pipefail
name="$1" program="$2" seconds="${3:-10}"

"$program" >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true' EXIT

window=""
for _ in $(seq 1 100); do
    window="$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)"
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "$name: no window appeared" >&2; exit 1; }

# The window opens centred, so the screen's bottom right corner is well away from it.
read -r width height < <(xdotool getdisplaygeometry)
xdotool mousemove "$((width - 1))" "$((height - 1))"
sleep 2

# utime and stime, in clock ticks: fields 14 and 15, counted after the parenthesised name.
ticks() { sed 's/^.*) //' "/proc/$pid/stat" | awk '{ print $12 + $13 }'; }
before="$(ticks)"
sleep "$seconds"
after="$(ticks)"
kill -0 "$pid" 2>/dev/null || { echo "$name: ended during the idle period" >&2; exit 1; }

per_second="$(getconf CLK_TCK)"
awk -v name="$name" -v s="$seconds" -v t="$((after - before))" -v hz="$per_second" 'BEGIN {
    ms = t * 1000 / hz
    printf "\nSummary: idle, pointer away from the window\n"
    printf "  %-44s %9.0f ms (%.2f %% of one core; clock tick %.0f ms)   (target 0 ms)\n", \
        name " CPU time over " s " s idle", ms, ms / (s * 10), 1000 / hz
}'
