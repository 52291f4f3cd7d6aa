#!/usr/bin/env bash
# Starts the built program under a virtual X server, waits for its window,
# quits it through File > Exit with real pointer and key events, and expects
# exit code 0. Usage: startandexit.sh <program> [arguments...]
set -uo pipefail

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi

program=$1
shift

"$program" "$@" &
pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Conway's Game of Life$" | head -n 1)
if [ -z "$window" ]; then
    echo "FAIL: no window titled \"Conway's Game of Life\" appeared"
    kill "$pid" 2>/dev/null
    wait "$pid"
    exit 1
fi
echo "window $window is shown: $(xdotool getwindowgeometry "$window" | tr '\n' ' ')"

# File is the first menu of the menu bar; its only item is Exit.
xdotool mousemove --window "$window" 18 10 click 1
sleep 0.5
xdotool key Down Return

for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    echo "FAIL: the program did not end after File > Exit"
    kill "$pid"
    wait "$pid"
    exit 1
fi
wait "$pid"
status=$?
echo "exit code $status"
[ "$status" -eq 0 ]
