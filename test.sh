#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-tests/ (and the model tests once more without them, in build-valgrind/,
# for valgrind) and runs them all, then each fuzz target for 30 s in a clang
# build of its own (tools/fuzz.sh); exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

tools/ensure-packages.sh cmake make g++ qtbase5-dev libqt5charts5-dev libgif-dev zlib1g-dev libbenchmark-dev fonts-dejavu-core \
    xvfb xauth xdotool x11-utils imagemagick python3 dpkg-dev file libgl1-mesa-dri clang-14 libclang-rt-14-dev \
    desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl groff-base \
    qttools5-dev qttools5-dev-tools qttranslations5-l10n dbus-daemon at-spi2-core python3-pyatspi
tools/ensure-packages.sh valgrind ||
    echo "valgrind could not be installed: its run of the model tests will be skipped"

jobs=$(nproc)

cmake -S . -B build-valgrind -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGAMEOFLIFE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-valgrind --parallel "$jobs" --target tst_gamefield tst_gamefieldallocation

cmake -S . -B build-tests -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGAMEOFLIFE_SANITIZE=ON \
    -DGAMEOFLIFE_VALGRIND_TESTS="$PWD/build-valgrind/tests" >/dev/null
cmake --build build-tests --parallel "$jobs"

failed=0
(cd build-tests && ctest --output-on-failure --timeout 300) || failed=1
FUZZ_SECONDS=30 tools/fuzz.sh || failed=1
exit "$failed"
