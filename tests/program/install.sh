#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the desktop entry and the
# icon, and starts the installed program. Usage: install.sh <build folder>
set -euo pipefail

build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

entry="$prefix/share/applications/gameoflife.desktop"
icon="$prefix/share/icons/hicolor/256x256/apps/gameoflife.png"
program="$prefix/bin/gameoflife"
for file in "$entry" "$icon" "$program"; do
    [ -f "$file" ] || { echo "FAIL: $file was not installed"; exit 1; }
done
[ -x "$program" ] || { echo "FAIL: $program is not executable"; exit 1; }
grep -qx "Name=Conway's Game of Life" "$entry" || { echo "FAIL: wrong Name in $entry"; exit 1; }
grep -qx "Categories=Game;Simulation;" "$entry" || { echo "FAIL: wrong Categories in $entry"; exit 1; }
grep -qx "Exec=gameoflife" "$entry" || { echo "FAIL: wrong Exec in $entry"; exit 1; }
grep -qx "Icon=gameoflife" "$entry" || { echo "FAIL: wrong Icon in $entry"; exit 1; }
echo "installed into $prefix"

xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" python3 "$(dirname "$0")/startandexit.py" "$program"
