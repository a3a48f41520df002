#!/usr/bin/env bash
# Times our search engine against ripgrep on the same text: every occurrence of
# the word "the", case-insensitive and word-bounded, counted.
#
#   bench/compare_ripgrep.sh [path/to/bench_search_engine]
#
# The text (QUILL_BENCH_MB megabytes of UTF-16, default 200: the Brown corpus
# from data/brown repeated, or generated English without it) is written once as
# UTF-16LE and once as UTF-8 into a temporary folder. Each command runs RUNS
# times (default 3); the run with the least CPU time (user + system, of every
# process of the pipeline) counts, and its wall time is shown beside it. On a
# busy machine wall times mostly measure the wait for a core, so the ratios to
# read are those of CPU time. Both sides read the file from the page cache and
# do all their work inside the timed command:
#
#   ours      bench_search_engine --count FILE utf16|8bit   (reads the file in
#             chunks of 1 Mi characters as a tool does; per chunk the engine
#             builds the class array and SearchAndDo counts the hits through
#             the tool's callback)
#   ripgrep   rg -E utf-16le -o -i -w the FILE | wc -l      (UTF-16 file)
#             rg -o -i -w the FILE | wc -l                  (UTF-8 file)
#             and, for reference, rg --count-matches, which prints no lines.
#
# The script fails (status 1) when the hit counts differ.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
bench="${1:-$root/build-bench/bench/bench_search_engine}"
runs="${RUNS:-3}"

if ! command -v rg >/dev/null 2>&1; then
  echo "ripgrep (rg) is not installed: on Debian or Ubuntu run 'apt-get install -y ripgrep'" >&2
  echo "(or 'cargo install ripgrep'), then run this script again." >&2
  exit 2
fi
if [[ ! -x "$bench" ]]; then
  echo "no benchmark program at $bench: build it with 'make bench' or pass its path" >&2
  exit 2
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$root" && "$bench" --write-text "$work")
utf16="$work/corpus.utf16le.txt"
utf8="$work/corpus.utf8.txt"

# best_of <output-file> <command...>: runs the command $runs times, keeps the last
# output and prints "<wall> <cpu>" in seconds for the run with the least CPU time
# (user + system, of every process of the pipeline).
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

ours_count() { "$bench" --count "$1" "$2"; }
rg_lines_utf16() { rg -E utf-16le -o -i -w the "$1" | wc -l; }
rg_lines_utf8() { rg -o -i -w the "$1" | wc -l; }
rg_count_utf16() { rg -E utf-16le --count-matches -i -w the "$1"; }
rg_count_utf8() { rg --count-matches -i -w the "$1"; }

# Warm the page cache.
cat "$utf16" "$utf8" >/dev/null

t_ours16=$(best_of "$work/ours16" ours_count "$utf16" utf16)
t_ours8=$(best_of "$work/ours8" ours_count "$utf8" 8bit)
t_rg16=$(best_of "$work/rg16" rg_lines_utf16 "$utf16")
t_rg8=$(best_of "$work/rg8" rg_lines_utf8 "$utf8")
t_rgc16=$(best_of "$work/rgc16" rg_count_utf16 "$utf16")
t_rgc8=$(best_of "$work/rgc8" rg_count_utf8 "$utf8")

hits() { awk '/^hits/ { print $2 }' "$1"; }
n_ours16=$(hits "$work/ours16")
n_ours8=$(hits "$work/ours8")
n_rg16=$(tr -d ' ' <"$work/rg16")
n_rg8=$(tr -d ' ' <"$work/rg8")
n_rgc16=$(tr -d ' ' <"$work/rgc16")
n_rgc8=$(tr -d ' ' <"$work/rgc8")

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
rate() { awk -v bytes="$1" -v t="$2" 'BEGIN { printf "%.2f", bytes / t / 1e9 }'; }
size16=$(stat -c %s "$utf16")
size8=$(stat -c %s "$utf8")

# row <label> <hits> "<wall> <cpu>" <bytes> "<reference wall> <reference cpu>"
row() {
  local wall cpu ref_wall ref_cpu
  read -r wall cpu <<<"$3"
  read -r ref_wall ref_cpu <<<"$5"
  printf '%-34s %10s %7s %7s %9s %9s %9s\n' "$1" "$2" "$wall" "$cpu" "$(rate "$4" "$cpu")" \
    "$(ratio "$wall" "$ref_wall")" "$(ratio "$cpu" "$ref_cpu")"
}

echo
echo "text: $size16 bytes of UTF-16LE, $size8 bytes of UTF-8; least CPU time of $runs runs"
echo "ours, CPU seconds of each step:"
sed -n 's/^read/  UTF-16: read/p' "$work/ours16"
sed -n 's/^read/  8-bit:  read/p' "$work/ours8"
printf '%-34s %10s %7s %7s %9s %9s %9s\n' "command" "hits" "wall s" "cpu s" "GB/s cpu" "wall/ours" "cpu/ours"
row "ours, UTF-16" "$n_ours16" "$t_ours16" "$size16" "$t_ours16"
row "rg -E utf-16le -o -i -w | wc -l" "$n_rg16" "$t_rg16" "$size16" "$t_ours16"
row "rg -E utf-16le --count-matches" "$n_rgc16" "$t_rgc16" "$size16" "$t_ours16"
row "ours, 8-bit" "$n_ours8" "$t_ours8" "$size8" "$t_ours8"
row "rg -o -i -w | wc -l" "$n_rg8" "$t_rg8" "$size8" "$t_ours8"
row "rg --count-matches" "$n_rgc8" "$t_rgc8" "$size8" "$t_ours8"

echo
status=0
for pair in "UTF-16:$n_ours16:$n_rg16" "UTF-8:$n_ours8:$n_rg8"; do
  IFS=: read -r form ours theirs <<<"$pair"
  if [[ "$ours" == "$theirs" ]]; then
    echo "$form: hit counts agree ($ours)"
  else
    echo "$form: hit counts differ: ours $ours, ripgrep $theirs ($((ours - theirs)) more for us)"
    status=1
  fi
done
if [[ $status -ne 0 ]]; then
  cat <<'EOF'
The two tools' word rules differ on some characters: for ripgrep an underscore
and combining marks are word characters, so "the_x" is no hit for it and a hit
for us; for us a word character is a letter or a digit of the character-class
table, and markup or segment markers never join words.
EOF
fi
exit $status
