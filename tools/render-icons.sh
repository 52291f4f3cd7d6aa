#!/usr/bin/env bash
# Renders the hand-written SVG sources in tools/icons/ into the icons the
# program uses, resources/icons/<name>.png: 128 x 128, 8-bit RGBA (PNG colour
# type 6), not interlaced, transparent around the picture.
# Usage: tools/render-icons.sh   (from any directory)
set -euo pipefail
cd "$(dirname "$0")/.."

size=128

if ! command -v rsvg-convert >/dev/null 2>&1; then
    tools/ensure-packages.sh librsvg2-bin
fi

# Prints the byte of a file at the given 0-based offset as a decimal number.
byte_at() {
    od -An -tu1 -j "$2" -N1 "$1" | tr -d ' \n'
}

mkdir -p resources/icons
shopt -s nullglob
sources=(tools/icons/*.svg)
if [ ${#sources[@]} -eq 0 ]; then
    echo "No SVG sources found in tools/icons/." >&2
    exit 1
fi

for svg in "${sources[@]}"; do
    name=$(basename "$svg" .svg)
    png=resources/icons/$name.png
    rsvg-convert --width "$size" --height "$size" --format png --output "$png" "$svg"

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
done
