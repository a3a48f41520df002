#!/usr/bin/env bash
# Times the two statistics runs users wait for most on the demo corpus:
#
#   keywords    quill keywords --pos-tags <ca01..ca44> --ref <the other 456 texts> -q
#   collocates  quill collocates --pos-tags -s time -q data/brown
#
# Each runs RUNS times (default 7); the script prints the median wall time and
# the median CPU time (user + system) of each, and fails (status 1) when a
# median wall time reaches one second. On a busy machine the wall time mostly
# measures the wait for a core, so read the CPU time beside it. The quill
# binary is $QUILL, else build-bench/src/quill/quill, else build/src/quill/quill.
#
#   bench/time_statistics.sh
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
brown="${QUILL_BROWN_DIR:-$root/data/brown}"
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
if [[ ! -d "$brown" ]]; then
  echo "no demo corpus at $brown: run scripts/setup" >&2
  exit 2
fi

QUILL_PROGRAM="$quill" BROWN="$brown" RUNS="${RUNS:-7}" python3 - <<'PYTHON'
import os, re, resource, statistics, subprocess, sys, time

quill, brown, runs = os.environ["QUILL_PROGRAM"], os.environ["BROWN"], int(os.environ["RUNS"])
texts = sorted(name for name in os.listdir(brown) if re.fullmatch(r"c[a-r][0-9][0-9]", name))
press = [os.path.join(brown, n) for n in texts if n.startswith("ca") and 1 <= int(n[2:]) <= 44]
rest = [os.path.join(brown, n) for n in texts if not n.startswith("ca")]
commands = {
    "keywords": [quill, "keywords", "--pos-tags", *press, "--ref", *rest, "-q"],
    "collocates": [quill, "collocates", "--pos-tags", "-s", "time", "-q", brown],
}
slow = False
for name, command in commands.items():
    walls, cpus = [], []
    for _ in range(runs):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        started = time.perf_counter()
        subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
        walls.append(time.perf_counter() - started)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpus.append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
    wall, cpu = statistics.median(walls), statistics.median(cpus)
    slow = slow or wall >= 1.0
    print(f"{name:<11} median wall {wall:.3f} s  median CPU {cpu:.3f} s  "
          f"(wall {min(walls):.3f}..{max(walls):.3f} s over {runs} runs)")
sys.exit(1 if slow else 0)
PYTHON
