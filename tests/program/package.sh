#!/usr/bin/env bash
# Builds the Debian package of the build folder and checks its contents and
# that it depends on the Qt 5 runtime.
# Usage: package.sh <build folder> <application id>
set -euo pipefail

build=$1
id=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >/dev/null)
package=$(ls "$work"/*.deb)
echo "built $(basename "$package")"

depends=$(dpkg-deb -f "$package" Depends)
echo "Depends: $depends"
for library in libqt5core5a libqt5gui5 libqt5widgets5; do
    [[ "$depends" == *"$library"* ]] || { echo "FAIL: the package does not depend on $library"; exit 1; }
done

contents=$(dpkg-deb -c "$package")
expected=(./usr/bin/gameoflife ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml
    ./usr/share/mime/packages/$id.xml ./usr/share/man/man6/gameoflife.6
    ./usr/share/icons/hicolor/scalable/apps/$id.svg ./usr/share/gameoflife/patterns/glider.rle)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for file in "${expected[@]}"; do
    grep -q " $file\$" <<<"$contents" || { echo "FAIL: $file is not in the package"; exit 1; }
done
echo "package contents and dependencies are as expected"
