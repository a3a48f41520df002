#!/usr/bin/env bash
# Times `quill split`, `quill join` and `quill compare` against coreutils
# `split`, `cat` and `cmp` on the same large file, checks that both joined files
# equal the source, and prints the medians and the ratios.
#
#   bench/compare_split_join.sh [FILE]
#
# Without FILE, QUILL_BENCH_MB megabytes (default 1024) of random bytes are made
# in a temporary folder under BENCH_DIR (default: the system's temporary folder;
# it needs about four times the file's size). The quill binary is $QUILL, else
# build-bench/src/quill/quill, else build/src/quill/quill.
#
#   split    quill split FILE --size 100M --out DIR     | split -b 100M FILE DIR/part.
#   join     quill join "DIR/chunk 1 of N.tmp" --out F  | cat DIR/part.* > F
#   compare  quill compare FILE F                        | cmp FILE F
#
# quill's split also writes and its join verifies a SHA-256 manifest, and both
# write every file through a temporary name and sync it before renaming, so
# that nothing half-written is ever left; the coreutils commands do neither, so
# they are followed by `sync` (PEER_SYNC=0 leaves it out).
# Each command runs RUNS times (default 5); the median wall time and the median
# CPU time (user + system) are shown. The page cache is not dropped: every
# command reads a file that was just written.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
runs="${RUNS:-5}"
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

work="$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/quill-split-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

file="${1:-}"
if [[ -z "$file" ]]; then
  file="$work/source.bin"
  head -c "$(( ${QUILL_BENCH_MB:-1024} * 1024 * 1024 ))" /dev/urandom > "$file"
fi
size=$(stat -c %s "$file")
mkdir -p "$work/q" "$work/c"
# quill syncs every file it writes before giving it its name; the peers are
# timed with a sync of the files they wrote (PEER_SYNC=0 times them without).
sync="sync"
[[ "${PEER_SYNC:-1}" == 0 ]] && sync=":"

# Runs a command RUNS times after `prepare`, appending "wall cpu" lines to $1.
measure() {
  local out="$1" prepare="$2"
  shift 2
  : > "$out"
  for ((i = 0; i < runs; i++)); do
    eval "$prepare"
    local TIMEFORMAT='%R %U %S'
    { time "$@" > /dev/null 2>&1; } 2> "$work/one" || true
    awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' "$work/one" >> "$out"
  done
}

median() {  # column $2 of file $1
  sort -n -k"$2","$2" "$1" | awk -v col="$2" '{ v[NR] = $col } END { print v[int((NR + 1) / 2)] }'
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg 2>/dev/null || echo unknown)
measure "$work/t_qsplit" 'rm -f "$work"/q/*' "$quill" split "$file" --size 100M --out "$work/q"
measure "$work/t_csplit" 'rm -f "$work"/c/*' sh -c "split -b 100M '$file' '$work/c/part.' && $sync '$work'/c/part.*"
first=$(ls "$work/q" | grep '^chunk 1 of .*\.tmp$')
measure "$work/t_qjoin" 'rm -f "$work/q.joined"' "$quill" join "$work/q/$first" --out "$work/q.joined"
measure "$work/t_cjoin" 'rm -f "$work/c.joined"' sh -c "cat '$work'/c/part.* > '$work/c.joined' && $sync '$work/c.joined'"
cmp -s "$file" "$work/q.joined" || { echo "quill join gave a different file" >&2; exit 1; }
cmp -s "$file" "$work/c.joined" || { echo "cat gave a different file" >&2; exit 1; }
measure "$work/t_qcmp" ':' "$quill" compare "$file" "$work/q.joined"
measure "$work/t_ccmp" ':' cmp "$file" "$work/c.joined"

# quill spreads the hashing over two threads, so its wall time depends on
# free cores; the load shows how shared the machine was.
echo "file: $size bytes, $runs runs each, medians; load average before: $load_before, after: $(cut -d' ' -f1-3 /proc/loadavg 2>/dev/null || echo unknown)"
printf '%-8s %12s %12s %12s %12s %8s %8s\n' step quill_wall quill_cpu peer_wall peer_cpu wall_x cpu_x
for step in split join cmp; do
  case $step in
    split) q="$work/t_qsplit"; c="$work/t_csplit" ;;
    join) q="$work/t_qjoin"; c="$work/t_cjoin" ;;
    cmp) q="$work/t_qcmp"; c="$work/t_ccmp" ;;
  esac
  qw=$(median "$q" 1); qc=$(median "$q" 2); cw=$(median "$c" 1); cc=$(median "$c" 2)
  awk -v s="$step" -v qw="$qw" -v qc="$qc" -v cw="$cw" -v cc="$cc" 'BEGIN {
    printf "%-8s %11.2fs %11.2fs %11.2fs %11.2fs %8.2f %8.2f\n", s, qw, qc, cw, cc, qw / cw, (cc > 0 ? qc / cc : 0) }'
done
