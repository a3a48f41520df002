#!/usr/bin/env bash
# Walks the demo corpus (data/brown, fetched by scripts/setup) with the folder
# walker and checks that it lists all 500 texts (named ca01 ... cr09), as find does.
#
#   bench/check_brown_walk.sh [BUILD_DIR]     (default build-bench)
set -euo pipefail

cd "$(dirname "$0")/.."
BUILD=${1:-build-bench}
CORPUS=data/brown
if [ ! -d "$CORPUS" ]; then
  echo "check_brown_walk: $CORPUS is missing (run scripts/setup); nothing to check"
  exit 0
fi
if [ ! -x "$BUILD/bench/bench_folder_walk" ]; then
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILL_BUILD_TESTS=OFF >/dev/null
  cmake --build "$BUILD" --target bench_folder_walk >/dev/null
fi

expected=$(find "$CORPUS" -type f -name 'c[a-r][0-9][0-9]' | wc -l)
found=$("$BUILD/bench/bench_folder_walk" --count "$CORPUS" 'c???' | awk '{print $3}')
everything=$("$BUILD/bench/bench_folder_walk" --count "$CORPUS" '*' | awk '{print $3}')
echo "texts: walk $found, find $expected (all files: walk $everything, find $(find "$CORPUS" -type f | wc -l))"
if [ "$found" -ne 500 ] || [ "$found" -ne "$expected" ]; then
  echo "check_brown_walk: FAILED" >&2
  exit 1
fi
echo "check_brown_walk: OK"
