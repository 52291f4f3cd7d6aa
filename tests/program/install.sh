#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the desktop entry, the
# icon and the sample patterns, and starts the installed program. Usage: install.sh <build folder>
set -euo pipefail

build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

entry="$prefix/share/applications/gameoflife.desktop"
icon="$prefix/share/icons/hicolor/128x128/apps/gameoflife.png"
program="$prefix/bin/gameoflife"
for file in "$entry" "$icon" "$program"; do
    [ -f "$file" ] || { echo "FAIL: $file was not installed"; exit 1; }
done
[ -x "$program" ] || { echo "FAIL: $program is not executable"; exit 1; }
grep -qx "Name=Conway's Game of Life" "$entry" || { echo "FAIL: wrong Name in $entry"; exit 1; }
grep -qx "Categories=Game;Simulation;" "$entry" || { echo "FAIL: wrong Categories in $entry"; exit 1; }
grep -qx "Exec=gameoflife %f" "$entry" || { echo "FAIL: wrong Exec in $entry"; exit 1; }
grep -qx "Icon=gameoflife" "$entry" || { echo "FAIL: wrong Icon in $entry"; exit 1; }
# The sample patterns.
for name in glider gosper-glider-gun acorn r-pentomino pulsar; do
    [ -f "$prefix/share/gameoflife/patterns/$name.rle" ] || { echo "FAIL: pattern $name was not installed"; exit 1; }
done
echo "installed into $prefix"

xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" python3 "$(dirname "$0")/startandexit.py" "$program"
