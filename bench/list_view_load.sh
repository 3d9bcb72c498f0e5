#!/bin/sh
# Times building the list document of N display lines (default 32,000, about
# half of them Japanese, every hit coloured) and loading it into the list view,
# painted once. Usage: bench/list_view_load.sh [BUILD_DIR] [LINES]
set -e
build=${1:-build}
lines=${2:-32000}
cmake --build "$build" --target tst_richtextview -j2 >/dev/null
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} QUAV_MEASURE_LINES=$lines \
  "$build/tests/tst_richtextview" listLoadMeasure 2>&1 | grep 'list view:'
