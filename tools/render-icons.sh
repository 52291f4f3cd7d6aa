#!/usr/bin/env bash
# Renders the hand-written SVG sources in tools/icons/ into the icons the
# program uses, resources/icons/<name>.png at 128 x 128, and the program's
# icon once more at every usual size of the desktop's icon themes,
# resources/icons/hicolor/<N>x<N>.png. All are 8-bit RGBA (PNG colour type 6),
# not interlaced, transparent around the picture.
# Usage: tools/render-icons.sh   (from any directory)
set -euo pipefail
cd "$(dirname "$0")/.."

size=128
program_icon=tools/icons/qt_icon.svg
# Keep in step with GAMEOFLIFE_ICON_SIZES in desktop/CMakeLists.txt.
theme_sizes=(16 22 24 32 48 64 128 256)

if ! command -v rsvg-convert >/dev/null 2>&1; then
    tools/ensure-packages.sh librsvg2-bin
fi

# Prints the byte of a file at the given 0-based offset as a decimal number.
byte_at() {
    od -An -tu1 -j "$2" -N1 "$1" | tr -d ' \n'
}

# render <svg> <png> <size in pixels>
render() {
    local svg=$1 png=$2 pixels=$3
    rsvg-convert --width "$pixels" --height "$pixels" --format png --output "$png" "$svg"

    # IHDR: byte 25 is the colour type, byte 28 the interlace method.
    if [ "$(byte_at "$png" 25)" != 6 ] || [ "$(byte_at "$png" 28)" != 0 ]; then
        if ! command -v convert >/dev/null 2>&1; then
            tools/ensure-packages.sh imagemagick
        fi
        convert "$png" -interlace none -define png:color-type=6 -depth 8 "PNG32:$png.tmp"
        mv "$png.tmp" "$png"
        if [ "$(byte_at "$png" 25)" != 6 ] || [ "$(byte_at "$png" 28)" != 0 ]; then
            echo "$png: could not make it an 8-bit RGBA, non-interlaced PNG." >&2
            exit 1
        fi
    fi
    echo "$png ($(wc -c <"$png") bytes)"
}

mkdir -p resources/icons/hicolor
shopt -s nullglob
sources=(tools/icons/*.svg)
if [ ${#sources[@]} -eq 0 ]; then
    echo "No SVG sources found in tools/icons/." >&2
    exit 1
fi

for svg in "${sources[@]}"; do
    render "$svg" "resources/icons/$(basename "$svg" .svg).png" "$size"
done
for pixels in "${theme_sizes[@]}"; do
    render "$program_icon" "resources/icons/hicolor/${pixels}x${pixels}.png" "$pixels"
done
