#!/usr/bin/env bash
# Times `quill wordlist --by-freq` against two everyday ways of counting words
# on the same file or folder, checks that the three agree on the top 100 words
# (after folding case), and prints the time ratios.
#
#   bench/compare_wordfreq.sh [FILE | FOLDER]
#
# Without FILE the text is made in a temporary folder: QUILL_BENCH_MB megabytes
# (default 100) of the Brown corpus from data/brown with its tags stripped,
# repeated to size, as UTF-8; with QUILL_BENCH_MB=0, its 500 samples with
# their tags stripped as 500 files of a folder. The quill binary is $QUILL, else
# build-bench/src/quill/quill, else build/src/quill/quill.
#
#   quill    quill wordlist --by-freq -q FILE
#   shell    LC_ALL=C tr -cs 'A-Za-z' '\n' <FILE | tr A-Z a-z | sort | uniq -c | sort -rn
#   python   collections.Counter(re.findall(r'\w+', text.lower())) over the whole file
#            ($PYTHON, else the interpreter python3 names, shims aside)
#
# A FOLDER's files (all of them, below it too) are read in the order of their
# names, one after another, by the shell and by Python (one Counter updated
# file by file); quill is given the folder.
#
# Each command runs RUNS times (default 3); the run with the least CPU time
# (user + system of every process of the pipeline) counts, its wall time shown
# beside it. On a busy machine wall times mostly measure the wait for a core,
# so the ratios to read first are those of CPU time. The script fails (status
# 1) when the top 100 words differ (words tied at the 100th place aside), once
# quill's words are cut up the way each peer cuts text: Python's \w+ splits
# "don't" and "well-known", which quill keeps whole, and the shell's runs of
# ASCII letters split "1960s" too. Counts that still differ are reported.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
runs="${RUNS:-3}"
quill="${QUILL:-}"
if [[ -z "$quill" ]]; then
  for candidate in "$root/build-bench/src/quill/quill" "$root/build/src/quill/quill"; do
    if [[ -x "$candidate" ]]; then quill="$candidate"; break; fi
  done
fi
if [[ -z "$quill" || ! -x "$quill" ]]; then
  echo "no quill program found: build it with 'make bench' (or 'make build'), or set QUILL" >&2
  exit 2
fi
if ! command -v python3 >/dev/null 2>&1; then
  echo "python3 is needed for the Counter peer and the comparison" >&2
  exit 2
fi
# The Counter peer runs the interpreter itself ($PYTHON, else the one python3
# names), never a version manager's shim: a pyenv shim adds some 0.4 s of its
# own to every start, which would flatter quill.
python="${PYTHON:-$(python3 -c 'import sys; print(sys.executable)')}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

file="${1:-}"
if [[ -z "$file" ]]; then
  brown="${QUILL_BROWN_DIR:-$root/data/brown}"
  if [[ ! -d "$brown" ]]; then
    echo "no corpus at $brown: run scripts/setup, or pass a text file" >&2
    exit 2
  fi
  # QUILL_BENCH_MB=0: the 500 samples as 500 files of their own instead.
  file="$work/brown.txt"
  [[ "${QUILL_BENCH_MB:-100}" == 0 ]] && file="$work/brown"
  python3 - "$brown" "$file" "${QUILL_BENCH_MB:-100}" <<'PY'
import os, re, sys
folder, out, megabytes = sys.argv[1], sys.argv[2], int(sys.argv[3])
parts = []
for name in sorted(os.listdir(folder)):
    # Sample files are named c<genre letter><two digits>; "word/tag" -> "word".
    if len(name) == 4 and name[0] == 'c' and name[2:].isdigit():
        with open(os.path.join(folder, name), encoding='latin-1') as f:
            parts.append((name, re.sub(r'(\S+)/[^\s/]+', r'\1', f.read())))
if megabytes == 0:
    os.mkdir(out)
    for name, text in parts:
        with open(os.path.join(out, name), 'wb') as f:
            f.write(text.encode('utf-8'))
    sys.exit(0)
base = ''.join(text for _, text in parts).encode('utf-8')
target = megabytes * 1024 * 1024
with open(out, 'wb') as f:
    written = 0
    while written < target:
        chunk = base[: target - written]
        f.write(chunk)
        written += len(chunk)
PY
fi
if [[ ! -f "$file" && ! -d "$file" ]]; then
  echo "no such file or folder: $file" >&2
  exit 2
fi

# The input's bytes, a folder's files in name order.
cat_input() {
  if [[ -d "$1" ]]; then
    find "$1" -type f -print0 | LC_ALL=C sort -z | xargs -0 cat
  else
    cat "$1"
  fi
}

# best_of <output-file> <command...>: runs the command $runs times, keeps the last
# output and prints "<wall> <cpu>" in seconds for the run with the least CPU time.
best_of() {
  local out="$1"
  shift
  local best_wall="" best_cpu=""
  for ((i = 0; i < runs; i++)); do
    local times
    times=$( { TIMEFORMAT='%R %U %S'; time "$@" >"$out"; } 2>&1 )
    read -r best_wall best_cpu < <(awk -v t="$times" -v bw="$best_wall" -v bc="$best_cpu" 'BEGIN {
      split(t, f, " "); cpu = f[2] + f[3];
      if (bc == "" || cpu < bc) { bw = f[1]; bc = cpu }
      printf "%.3f %.3f\n", bw, bc }')
  done
  echo "$best_wall $best_cpu"
}

run_quill() { "$quill" wordlist --by-freq -q "$1"; }
run_shell() { cat_input "$1" | LC_ALL=C tr -cs 'A-Za-z' '\n' | tr A-Z a-z | sort | uniq -c | sort -rn; }
run_python() {
  "$python" -c '
import collections, os, re, sys
top = sys.argv[1]
paths = [top] if os.path.isfile(top) else sorted(os.path.join(d, n) for d, _, names in os.walk(top) for n in names)
counts = collections.Counter()
for path in paths:
    with open(path, encoding="utf-8", errors="replace") as f:
        counts.update(re.findall(r"\w+", f.read().lower()))
for word, count in counts.most_common():
    print(f"{word}\t{count}")
' "$1"
}

cat_input "$file" >/dev/null  # warm the page cache
size=$(cat_input "$file" | wc -c)
t_quill=$(best_of "$work/quill.tsv" run_quill "$file")
t_shell=$(best_of "$work/shell.txt" run_shell "$file")
t_python=$(best_of "$work/python.tsv" run_python "$file")

agree=0
python3 - "$work/quill.tsv" "$work/shell.txt" "$work/python.tsv" <<'PY' || agree=$?
import collections
import re
import sys

def read_tsv(path):
    counts = []
    with open(path, encoding='utf-8') as f:
        for line in f:
            word, count = line.rstrip('\n').split('\t')
            counts.append((word.lower(), int(count)))
    return counts

def read_uniq(path):
    counts = []
    with open(path, encoding='utf-8', errors='replace') as f:
        for line in f:
            parts = line.split()
            if len(parts) == 2:  # a count and a word (the empty word is left out)
                counts.append((parts[1], int(parts[0])))
    return counts

quill = read_tsv(sys.argv[1])
peers = {'shell': read_uniq(sys.argv[2]), 'python': read_tsv(sys.argv[3])}
# quill keeps "don't" and "well-known" whole (an apostrophe or hyphen between
# letters), where \w+ makes "don", "t", "well", "known" and the shell's runs of
# ASCII letters split "1960s" too: quill's words are cut up each peer's way
# (their counts added up) before the top 100 are compared.
def cut_up(counts, pattern):
    pieces = collections.Counter()
    for word, count in counts:
        for piece in re.findall(pattern, word):
            pieces[piece] += count
    return pieces.most_common()

patterns = {'shell': r'[a-z]+', 'python': r'\w+'}
failed = False
for name, counts in peers.items():
    ours, theirs = cut_up(quill, patterns[name])[:100], counts[:100]
    # Words tied at the 100th place may fall on either side of it.
    edge = min(ours[-1][1], theirs[-1][1]) if ours and theirs else 0
    differ = {w for w, c in ours if c > edge} ^ {w for w, c in theirs if c > edge}
    differ -= {w for w, c in ours + theirs if c <= edge}
    their_counts = dict(counts)
    counts_differ = [(w, c, their_counts.get(w)) for w, c in ours if their_counts.get(w) != c]
    if differ:
        failed = True
        print(f'top 100 words: {name} DIFFERS: {sorted(differ)[:10]}')
    else:
        note = ''
        if counts_differ:
            # What cutting up does not account for (letters \w does not know, say).
            note = f'; {len(counts_differ)} counts differ, e.g. {counts_differ[:2]}'
        print(f'top 100 words: {name} agrees with quill{note}')
sys.exit(1 if failed else 0)
PY

awk -v q="$t_quill" -v s="$t_shell" -v p="$t_python" -v size="$size" -v runs="$runs" -v py="$python $("$python" -c 'import platform; print(platform.python_version())')" 'BEGIN {
  split(q, tq, " "); split(s, ts, " "); split(p, tp, " ");
  printf "input: %.1f MB; best of %d runs by CPU time (user + system), wall time beside it\n", size / 1048576, runs;
  printf "python: %s\n", py;
  printf "%-8s %8s %8s %12s %12s\n", "", "cpu s", "wall s", "cpu ratio", "wall ratio";
  printf "%-8s %8.2f %8.2f %12s %12s\n", "quill", tq[2], tq[1], "1.0", "1.0";
  printf "%-8s %8.2f %8.2f %11.1fx %11.1fx\n", "shell", ts[2], ts[1], ts[2] / tq[2], ts[1] / tq[1];
  printf "%-8s %8.2f %8.2f %11.1fx %11.1fx\n", "python", tp[2], tp[1], tp[2] / tq[2], tp[1] / tq[1];
}'
exit "$agree"
