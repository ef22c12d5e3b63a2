#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Plavo with its tests (installing what is missing) and runs them all:
#   1. the ordinary build (build/): every test, among them the end-to-end run
#      under Xvfb and the desktop files and Debian package (check-desktop.sh);
#   2. each fuzz target for a bounded time (build-fuzz/, clang; scripts/fuzz.sh);
#   3. the same tests again with AddressSanitizer and UndefinedBehaviorSanitizer
#      (build-asan/); any report fails.
# Window tests run offscreen, so no display is needed.
# PLAVO_FUZZ_SEKUNDEN sets the time per fuzz target (default 30).
#
# The builds compile in batches with line tables for debug information
# (PLAVO_UNITY, PLAVO_ZEILENTABELLEN): a fresh run takes far less time, and
# backtraces and sanitizer reports still name file and line.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --tests
export QT_QPA_PLATFORM=offscreen
schnell=(-DPLAVO_UNITY=ON -DPLAVO_ZEILENTABELLEN=ON)

echo "== Tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLAVO_TESTS=ON -DPLAVO_BENCH=ON "${schnell[@]}"
cmake --build build
ctest --test-dir build --output-on-failure -j2

echo "== Fuzzing"
scripts/fuzz.sh 0
# A fuzz target runs on one core: the sanitizer build takes the other
# meanwhile, at lower priority so the fuzzer keeps its core.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLAVO_SANITIZE=ON -DPLAVO_TESTS=ON -DPLAVO_BENCH=OFF "${schnell[@]}"
nice -n 10 ninja -C build-asan >build-asan/bau.log 2>&1 &
asanbau=$!
trap 'kill "$asanbau" 2>/dev/null || true' EXIT
scripts/fuzz.sh

echo "== Tests mit AddressSanitizer und UndefinedBehaviorSanitizer"
if ! wait "$asanbau"; then
  cat build-asan/bau.log
  exit 1
fi
trap - EXIT
grep -E '^\[[0-9]+/[0-9]+\]' build-asan/bau.log | tail -n 1
# The package check is about files, not code: the ordinary build covers it.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:strict_init_order=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j2 -E '^DesktopUndPaket$'
