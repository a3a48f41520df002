#!/usr/bin/env bash
# Times the corpus walk of TFileAndDirIterator (quillfs: every folder below the
# head folder, each listed into its per-folder list, files numbered across
# folders) against find(1) printing size and time of every file, on the tree of
# 100,000 files that folder_walk_vs_find.sh uses, warm cache. Prints the medians
# of five runs and the ratio; the walk is to stay within 1.5x of find.
#
#   bench/iterator_walk_vs_find.sh [BUILD_DIR]     (default build-bench, made by `make bench`)
set -euo pipefail

cd "$(dirname "$0")/.."
BUILD=${1:-build-bench}
TREE=${QUILL_WALK_TREE:-/tmp/quill-walk-tree-100000}
RUNS=5
PROGRAM="$BUILD/bench/bench_file_and_dir_iterator"

if [ ! -x "$PROGRAM" ]; then
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILL_BUILD_TESTS=OFF >/dev/null
  cmake --build "$BUILD" --target bench_file_and_dir_iterator >/dev/null
fi
# Without a tree the program makes it on its first timed run; make it first.
[ -f "$TREE/done" ] || "$PROGRAM" --benchmark_filter=BM_IterateFindingFiles --benchmark_min_time=0.001 >/dev/null

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
time_ms() {  # runs "$@" and prints its wall time in milliseconds
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(( (end - start) / 1000000 ))
}

echo "files: find counts $(find "$TREE" -type f -name '*.txt' | wc -l);" \
     "the iterator counts: $("$PROGRAM" --count "$TREE" '*.txt')"

find "$TREE" -type f >/dev/null  # warm the cache
walk=$(for _ in $(seq $RUNS); do time_ms "$PROGRAM" --count "$TREE" '*.txt'; done | median)
find_stat=$(for _ in $(seq $RUNS); do time_ms find "$TREE" -type f -name '*.txt' -printf '%s %T@\n'; done | median)

echo "machine: $(lscpu | grep 'Model name' | sed 's/Model name: *//')"
echo "date:    $(date -u +%Y-%m-%d)"
echo "median of $RUNS runs, 100,000 files in 1,101 folders, warm cache:"
echo "  TFileAndDirIterator walk (*.txt, subfolders)   ${walk} ms"
echo "  find ... -printf '%s %T@' (stats each file)    ${find_stat} ms"
awk -v w="$walk" -v f="$find_stat" 'BEGIN { printf "  ratio walk / find                              %.2f\n", w / f }'
