#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks it as a desktop sees
# it: the desktop entry, the AppStream metainfo, the file types by name and by
# content, the manual page, the icons and the sample patterns; then starts the
# installed program. Usage: install.sh <build folder> <application id>
set -euo pipefail

build=$1
id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null

share=$prefix/share
program=$prefix/bin/gameoflife
entry=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml
mime_package=$share/mime/packages/$id.xml
manual=$share/man/man6/gameoflife.6
for file in "$program" "$entry" "$metainfo" "$mime_package" "$manual" "$share/icons/hicolor/scalable/apps/$id.svg"; do
    [ -f "$file" ] || fail "$file was not installed"
done
[ -x "$program" ] || fail "$program is not executable"
for name in glider gosper-glider-gun acorn r-pentomino pulsar; do
    [ -f "$share/gameoflife/patterns/$name.rle" ] || fail "pattern $name was not installed"
done
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$program" --version)
version=${version#gameoflife }

# Each PNG at the size its folder promises: width and height are the
# big-endian numbers at bytes 16 and 20.
for size in 16 22 24 32 48 64 128 256; do
    icon=$share/icons/hicolor/${size}x${size}/apps/$id.png
    [ -f "$icon" ] || fail "$icon was not installed"
    read -r width height < <(od -An -tu1 -j16 -N8 "$icon" |
        awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
    [ "$width x $height" = "$size x $size" ] || fail "$icon is $width x $height pixels"
done

# The desktop entry: valid without a single remark, starting the installed
# program with one file, and naming exactly the types of the MIME package.
report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"
grep -qx "Name=Conway's Game of Life" "$entry" || fail "wrong Name in $entry"
grep -qx "Categories=Game;Simulation;" "$entry" || fail "wrong Categories in $entry"
grep -qx "Exec=gameoflife %f" "$entry" || fail "wrong Exec in $entry"
grep -qx "Icon=$id" "$entry" || fail "wrong Icon in $entry"
package_types=$(grep -o '<mime-type type="[^"]*"' "$mime_package" | cut -d'"' -f2 | sort)
entry_types=$(sed -n 's/^MimeType=//p' "$entry" | tr ';' '\n' | sed '/^$/d' | sort)
metainfo_types=$(sed -n 's|.*<mediatype>\(.*\)</mediatype>.*|\1|p' "$metainfo" | sort)
[ -n "$package_types" ] || fail "no types in $mime_package"
[ "$entry_types" = "$package_types" ] || fail "MimeType= lists $(echo $entry_types), the package defines $(echo $package_types)"
[ "$metainfo_types" = "$package_types" ] || fail "the metainfo lists $(echo $metainfo_types), the package defines $(echo $package_types)"

# The metainfo: valid without errors, warnings or hints (such as a missing
# content rating), linked to the installed desktop entry, and its newest
# release is the installed program's version.
report=$(appstreamcli validate-tree --no-net "$prefix" 2>&1) || fail "appstreamcli validate-tree: $report"
if grep -qE '^ *[EWI]:' <<<"$report"; then
    fail "appstreamcli validate-tree: $report"
fi
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n1 | cut -d'"' -f2)
[ "$newest" = "$version" ] || fail "the metainfo's newest release is $newest, the program's version $version"

# File types as a desktop without a desktop environment of its own tells them
# (xdg-mime falls back to the mimetype command): in one database with the
# system's own types, as on an installed system, where an image format also
# claims *.rle.
if [ -f /usr/share/mime/packages/freedesktop.org.xml ]; then
    cp /usr/share/mime/packages/freedesktop.org.xml "$share/mime/packages/"
fi
XDG_DATA_DIRS="$share" update-mime-database "$share/mime"
update-desktop-database "$share/applications"
samples=$prefix/samples
mkdir "$samples"
cp "$share/gameoflife/patterns/glider.rle" "$samples/glider.rle"
printf '#C Comments lead into the header.\n#C\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n' >"$samples/rle-by-content"
printf '!Name: Blinker\nOOO\n' >"$samples/blinker.cells"
printf '#Life 1.05\n#P -1 -1\n.*\n..*\n***\n' >"$samples/glider.lif"
printf '#Life 1.06\n0 0\n1 0\n2 0\n' >"$samples/life106-by-content"
printf 'x = 1 was a variable\n' >"$samples/notes"
query() {
    env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
        XDG_DATA_HOME="$share" XDG_DATA_DIRS="$share" xdg-mime query "$@"
}
while read -r sample expected; do
    found=$(query filetype "$samples/$sample")
    [ "$found" = "$expected" ] || fail "xdg-mime names $sample $found, not $expected"
done <<EOF
glider.rle text/x-life-rle
rle-by-content text/x-life-rle
blinker.cells text/x-life-plaintext
glider.lif text/x-life-lif
life106-by-content text/x-life-lif
notes text/plain
EOF
for type in $package_types; do
    found=$(query default "$type")
    [ "$found" = "$id.desktop" ] || fail "xdg-mime opens $type with '$found', not $id.desktop"
done

# The manual page: rendered without a warning, of the installed version, and
# covering every option the program lists in its help.
report=$(groff -man -ww -z "$manual" 2>&1) || fail "groff: $report"
[ -z "$report" ] || fail "groff: $report"
text=$(groff -man -Tascii -P-cbou "$manual" 2>/dev/null)
grep -q "gameoflife $version" <<<"$text" || fail "the manual page is not of version $version"
options=$(env -u DISPLAY -u WAYLAND_DISPLAY "$program" --help | grep -oE '(^| )--?[a-z][a-z-]*' | tr -d ' ' | sort -u)
[ -n "$options" ] || fail "no options found in the program's help"
for option in $options; do
    grep -qe "$option" <<<"$text" || fail "the manual page does not mention $option"
done
for format in RLE Plaintext "Life 1.05" "Life 1.06"; do
    grep -q "$format" <<<"$text" || fail "the manual page does not describe $format"
done
echo "installed into $prefix"

xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" python3 "$(dirname "$0")/startandexit.py" "$program"
