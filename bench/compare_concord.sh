#!/usr/bin/env bash
# quill concord against ripgrep, end to end, on the Brown corpus: the 500 text
# files as they are (about 6 MB), and 17 copies of them (about 100 MB). Counts
# every "the" as a word, case-insensitively, with both tools, checks the counts
# agree and prints the time ratio.
# Usage: bench/compare_concord.sh [quill-binary]   (default: build/src/quill/quill)
set -euo pipefail
cd "$(dirname "$0")/.."
quill=${1:-build/src/quill/quill}
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

# Best of three wall-clock runs of a command: seconds in $best_time, its output in $last.
best() {
  local start end t
  best_time=""
  for _ in 1 2 3; do
    start=$(date +%s.%N)
    last=$("$@")
    end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc -l)
    if [ -z "$best_time" ] || [ "$(echo "$t < $best_time" | bc -l)" = 1 ]; then best_time=$t; fi
  done
}

quill_count() { "$quill" concord --count -q -s the "$1" | awk -F'\t' '$1 == "total" { print $2 }'; }
rg_count() { rg -o -i -w the "$1" | wc -l; }

status=0
for corpus in brown brown17; do
  dir="$work/$corpus"
  files=$(find "$dir" -type f | wc -l)
  bytes=$(du -sb "$dir" | cut -f1)
  best quill_count "$dir"; tq=$best_time; nq=$last
  best rg_count "$dir"; tr=$best_time; nr=$last
  ratio=$(echo "$tq / $tr" | bc -l)
  printf '%-8s %5d files %10d bytes  quill %8d hits %6.3f s   rg %8d hits %6.3f s   quill/rg %.2f\n' \
    "$corpus" "$files" "$bytes" "$nq" "$tq" "$nr" "$tr" "$ratio"
  # The word rules differ slightly: quill joins words at the language's middle
  # characters (apostrophe, hyphen), so "the-then" is one word for quill and
  # holds the word "the" for ripgrep. Counts within 1% agree.
  diff=$(( nq > nr ? nq - nr : nr - nq ))
  if [ $(( diff * 100 )) -gt "$nr" ]; then
    echo "  counts differ by more than 1%: $nq against $nr" >&2
    status=1
  fi
done
exit $status
