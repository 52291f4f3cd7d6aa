#!/usr/bin/env bash
# Builds the Debian package of the build folder and checks its contents and
# that it depends on the Qt 5 runtime. Usage: package.sh <build folder>
set -euo pipefail

build=$1
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
for file in ./usr/bin/gameoflife ./usr/share/applications/gameoflife.desktop \
    ./usr/share/icons/hicolor/128x128/apps/gameoflife.png; do
    grep -q " $file\$" <<<"$contents" || { echo "FAIL: $file is not in the package"; exit 1; }
done
echo "package contents and dependencies are as expected"
