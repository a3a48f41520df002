#!/usr/bin/env bash
# quill concord against ripgrep, end to end, on the Brown corpus: the 500 text
# files as they are (about 6 MB), 17 copies of them (8,500 files, about 100 MB),
# the same 17 copies as one file, and (QUILL_BENCH_GB=1) a file of about 1 GB
# made of copies of that one. Counts every "the" as a word, case-insensitively,
# with both tools, checks the counts agree within 0.1 % (1 % on the small
# corpus) and prints the time ratio, quill's peak memory and the rate of each
# beside the memory-read limit (`wc -l`, a memchr over the same bytes).
# Usage: bench/compare_concord.sh [quill-binary]   (default: build/src/quill/quill)
#   JOBS=N      quill's -j (default: all cores; rg uses all cores too)
#   RUNS=N      runs of each command, the fastest counts (default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
quill=${1:-build/src/quill/quill}
runs=${RUNS:-3}
jobs=${JOBS:-0}
if ! command -v rg >/dev/null; then
  echo "compare_concord: ripgrep is needed: apt-get install -y ripgrep" >&2
  exit 2
fi
if [ ! -x "$quill" ]; then
  echo "compare_concord: no quill at $quill; build it first (make build)" >&2
  exit 2
fi
if [ ! -d data/brown ]; then
  echo "compare_concord: no corpus in data/brown; run scripts/setup" >&2
  exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The 500 text files (ca01 ... cr09), without the corpus's README and index files.
mkdir -p "$work/brown"
find data/brown -maxdepth 1 -type f -regex '.*/c[a-r][0-9][0-9]' -exec cp {} "$work/brown/" \;
mkdir -p "$work/brown17"
for i in $(seq -w 1 17); do cp -r "$work/brown" "$work/brown17/copy$i"; done
mkdir -p "$work/onefile"
find "$work/brown17" -type f | sort | xargs cat > "$work/onefile/brown17.txt"
corpora="brown brown17 onefile"
if [ "${QUILL_BENCH_GB:-0}" = 1 ]; then
  mkdir -p "$work/gigabyte"
  for _ in $(seq 1 10); do cat "$work/onefile/brown17.txt"; done > "$work/gigabyte/brown170.txt"
  corpora="$corpora gigabyte"
fi

# Fastest of $runs runs of one of the functions below on a corpus folder
# (wall clock, /usr/bin/time, through a shell since time cannot run a
# function): seconds in $best_time, its CPU seconds in $best_cpu, peak
# resident kilobytes (of the largest process) in $best_rss. Each tool writes
# to a file ($out), read afterwards: writing to a pipe costs ripgrep some
# tenth of a second on the 8,500 files (about a line a file), which is not
# the search.
best() {
  local function=$1 folder=$2 t cpu rss
  best_time=""
  for _ in $(seq 1 "$runs"); do
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" bash -c "$function \"\$1\"" _ "$folder"
    read -r t user sys rss < "$work/time"
    cpu=$(echo "$user + $sys" | bc -l)
    if [ -z "$best_time" ] || [ "$(echo "$t < $best_time" | bc -l)" = 1 ]; then
      best_time=$t; best_cpu=$cpu; best_rss=$rss
    fi
  done
}

out=$work/out
quill_count() { "$quill" concord --count -q -j "$jobs" -s the "$1" > "$out"; }
rg_count() { rg --count-matches -i -w the "$1" > "$out"; }
memchr_pass() { find "$1" -type f -print0 | xargs -0 cat | wc -l > "$out"; }
export -f quill_count rg_count memchr_pass
export quill jobs out

status=0
for corpus in $corpora; do
  dir="$work/$corpus"
  files=$(find "$dir" -type f | wc -l)
  bytes=$(du -sb "$dir" | cut -f1)
  best quill_count "$dir"; tq=$best_time; cq=$best_cpu; mq=$best_rss
  nq=$(awk -F'\t' '$1 == "total" { print $2 }' "$out")
  best rg_count "$dir"; tr=$best_time; cr=$best_cpu; mr=$best_rss
  nr=$(awk -F: '{ n += $NF } END { print n + 0 }' "$out")
  best memchr_pass "$dir"; tm=$best_time
  ratio=$(echo "$tq / $tr" | bc -l)
  gbs() { echo "$bytes / $1 / 1000000000" | bc -l; }
  printf '%-9s %5d files %11d bytes  quill %8d hits %7.3f s (cpu %6.2f s, %4d MB, %.2f GB/s)  rg %8d hits %7.3f s (cpu %6.2f s, %4d MB, %.2f GB/s)  memchr %.2f GB/s  quill/rg %.2f\n' \
    "$corpus" "$files" "$bytes" "$nq" "$tq" "$cq" $((mq / 1024)) "$(gbs "$tq")" \
    "$nr" "$tr" "$cr" $((mr / 1024)) "$(gbs "$tr")" "$(gbs "$tm")" "$ratio"
  # The word rules differ slightly: quill joins words at the language's middle
  # characters (apostrophe, hyphen), so "the-then" is one word for quill and
  # holds the word "the" for ripgrep.
  diff=$(( nq > nr ? nq - nr : nr - nq ))
  tolerance=$([ "$corpus" = brown ] && echo 100 || echo 1000)
  if [ $(( diff * tolerance )) -gt "$nr" ]; then
    echo "  counts differ by more than 1/$tolerance: $nq against $nr" >&2
    status=1
  fi
done
exit $status
