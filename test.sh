#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-tests/ and runs them all; exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

tools/ensure-packages.sh cmake make g++ qtbase5-dev libbenchmark-dev fonts-dejavu-core xvfb xauth xdotool

build=build-tests
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGAMEOFLIFE_SANITIZE=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)"

cd "$build"
ctest --output-on-failure --timeout 300
