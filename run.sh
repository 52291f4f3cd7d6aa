#!/usr/bin/env bash
# Builds the program (Release, in build/) and starts it; arguments pass through
# to the program, for example: ./run.sh -style fusion
set -euo pipefail
cd "$(dirname "$0")"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set); run it on a desktop, or under a virtual X server with: xvfb-run ./run.sh" >&2
    exit 2
fi

tools/ensure-packages.sh cmake make g++ qtbase5-dev libqt5charts5-dev libgif-dev zlib1g-dev fonts-dejavu-core \
    qttools5-dev qttools5-dev-tools qttranslations5-l10n

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DGAMEOFLIFE_BUILD_TESTS=OFF >/dev/null
cmake --build build --parallel "$(nproc)"

exec build/app/gameoflife "$@"
