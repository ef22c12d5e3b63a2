#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Plavo (installing what is missing) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLAVO_TESTS=OFF -DPLAVO_BENCH=OFF
cmake --build build --target plavo
exec build/src/plavo "$@"
