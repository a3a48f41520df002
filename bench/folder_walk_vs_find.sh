#!/usr/bin/env bash
# Times the folder walk (TPeruseDir + TFolderful, as the file-and-folder iterator
# drives them) against find(1) on the same tree of 100,000 files in /tmp, warm
# cache, and prints the medians of five runs.
#
#   bench/folder_walk_vs_find.sh [BUILD_DIR]     (default build-bench, made by `make bench`)
#
# The walk stats every file it lists (size and date go into each record), so
# find is timed both ways: names only (-type f, from the folder records) and
# with a status call per file (-printf of size and time).
set -euo pipefail

cd "$(dirname "$0")/.."
BUILD=${1:-build-bench}
TREE=${QUILL_WALK_TREE:-/tmp/quill-walk-tree-100000}
RUNS=5

if [ ! -x "$BUILD/bench/bench_folder_walk" ]; then
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILL_BUILD_TESTS=OFF >/dev/null
  cmake --build "$BUILD" --target bench_folder_walk >/dev/null
fi

if [ ! -f "$TREE/done" ]; then
  echo "making $TREE (100 x 10 folders of 100 files)"
  python3 - "$TREE" <<'PY'
import os, sys
tree = sys.argv[1]
for top in range(100):
    for sub in range(10):
        folder = os.path.join(tree, f"d{top}", f"s{sub}")
        os.makedirs(folder, exist_ok=True)
        for n in range(100):
            with open(os.path.join(folder, f"f{n}.txt"), "w") as out:
                out.write("text\n")
open(os.path.join(tree, "done"), "w").close()
PY
fi

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
time_ms() {  # runs "$@" and prints its wall time in milliseconds
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(( (end - start) / 1000000 ))
}

echo "files: find counts $(find "$TREE" -type f -name '*.txt' | wc -l);" \
     "the walk counts: $("$BUILD/bench/bench_folder_walk" --count "$TREE" '*.txt')"

# Warm the cache once, then time.
find "$TREE" -type f >/dev/null
walk=$(for _ in $(seq $RUNS); do time_ms "$BUILD/bench/bench_folder_walk" --count "$TREE" '*.txt'; done | median)
find_names=$(for _ in $(seq $RUNS); do time_ms find "$TREE" -type f -name '*.txt'; done | median)
find_stat=$(for _ in $(seq $RUNS); do time_ms find "$TREE" -type f -name '*.txt' -printf '%s %T@\n'; done | median)

echo "machine: $(lscpu | grep 'Model name' | sed 's/Model name: *//')"
echo "date:    $(date -u +%Y-%m-%d)"
echo "median of $RUNS runs, 100,000 files in 1,101 folders, warm cache:"
echo "  quill walk (TPeruseDir + TFolderful, *.txt)   ${walk} ms"
echo "  find -type f -name '*.txt'                    ${find_names} ms"
echo "  find ... -printf '%s %T@' (stats each file)   ${find_stat} ms"
