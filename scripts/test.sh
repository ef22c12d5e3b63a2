#!/usr/bin/env bash
# Builds Plavo with its tests (installing what is missing) and runs them all.
# Window tests run offscreen, so no display is needed. ctest also validates
# the desktop files and builds the Debian package (scripts/check-desktop.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLAVO_TESTS=ON -DPLAVO_BENCH=ON
cmake --build build
ctest --test-dir build --output-on-failure -j2
