#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each for a bounded time, starting
# from its committed corpus in fuzz/corpus/start. Any finding fails the run;
# the input that caused it is kept in build-fuzz/funde/. To make it a
# regression test, add it to the target's starting corpus and, for a crash in
# the program, write a test for it in tests/.
# Usage: scripts/fuzz.sh [seconds per target]   (default 30, or PLAVO_FUZZ_SEKUNDEN;
#        0 builds the targets and runs none)
set -euo pipefail
cd "$(dirname "$0")/.."

sekunden=${1:-${PLAVO_FUZZ_SEKUNDEN:-30}}
ziele=(koerperdatei zahltext schritt)

cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPLAVO_FUZZ=ON -DPLAVO_TESTS=OFF -DPLAVO_BENCH=OFF -DPLAVO_UNITY=ON -DPLAVO_ZEILENTABELLEN=ON
cmake --build build-fuzz --target plavo_fuzz
if [ "$sekunden" = 0 ]; then exit 0; fi

# The file target writes a file per input; keep that off the disk when a RAM
# file system is at hand (saving syncs to disk).
wurzel=/tmp
if [ -d /dev/shm ] && [ -w /dev/shm ]; then wurzel=/dev/shm; fi
ablage=$(mktemp -d "$wurzel/plavo-fuzz.XXXXXX")
trap 'rm -rf "$ablage"' EXIT

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p build-fuzz/funde
fehlschlag=0
for ziel in "${ziele[@]}"; do
  korpus=build-fuzz/korpus/$ziel
  protokoll=build-fuzz/fuzz_$ziel.log
  mkdir -p "$korpus"
  # New inputs go to the first folder, so the committed corpus stays as it is.
  if TMPDIR=$ablage "build-fuzz/fuzz/fuzz_$ziel" -max_total_time="$sekunden" -timeout=25 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="build-fuzz/funde/$ziel-" \
       "$korpus" "fuzz/corpus/start/$ziel" >"$protokoll" 2>&1; then
    laeufe=$(sed -n 's/^stat::number_of_executed_units: *//p' "$protokoll")
    zeit=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$protokoll")
    echo "fuzz_$ziel: ${laeufe:-?} Ausführungen in ${zeit:-?} s, kein Befund"
  else
    echo "fuzz_$ziel: BEFUND (Protokoll: $protokoll)"
    tail -n 60 "$protokoll"
    fehlschlag=1
  fi
done
exit $fehlschlag
