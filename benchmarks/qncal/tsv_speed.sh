#!/usr/bin/env bash
# How much faster one qncal writes --tsv for 1901-2100 than another, in
# paired runs (old, then new, N times), and how long --ics takes for a
# century with every layer. Both programs must write the same columns, except
# that the new one may add columns at the end of each line and name eras anew.
#
# Usage: tsv_speed.sh OLD_QNCAL NEW_QNCAL [PAIRS]
#   e.g. build the commit to compare against into build-old/ and run
#   benchmarks/qncal/tsv_speed.sh build-old/bin/qncal build/bin/qncal 10
set -euo pipefail
old=$1 new=$2 pairs=${3:-10}
range=(1901-01-01 2100-12-31)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$old" --tsv "${range[@]}" >"$tmp/old.tsv"
"$new" --tsv "${range[@]}" >"$tmp/new.tsv"
old_columns=$(head -n 1 "$tmp/old.tsv" | awk -F'\t' '{ print NF }')
new_columns=$(head -n 1 "$tmp/new.tsv" | awk -F'\t' '{ print NF }')
# Column 16 (the era) may differ: the era rows were corrected (1911 is 宣统3年,
# 民国 starts in 1912). Every other old column must stay byte for byte.
if ((new_columns < old_columns)) ||
  ! cmp -s <(cut -f "1-15" "$tmp/new.tsv") <(cut -f "1-15" "$tmp/old.tsv") ||
  { ((old_columns > 16)) &&
    ! cmp -s <(cut -f "17-$old_columns" "$tmp/new.tsv") <(cut -f "17-$old_columns" "$tmp/old.tsv"); }; then
  echo "the new program changes the old program's --tsv columns" >&2
  exit 1
fi
era_changes=$(paste <(cut -f 16 "$tmp/old.tsv") <(cut -f 16 "$tmp/new.tsv") | awk -F'\t' '$1 != $2' | wc -l)
echo "columns 1-15 identical, era column changed on $era_changes lines," \
  "$((new_columns - old_columns)) columns added: $(wc -l <"$tmp/new.tsv") lines," \
  "$(wc -c <"$tmp/old.tsv") -> $(wc -c <"$tmp/new.tsv") bytes"

# Paired runs: wall-clock time, and the CPU time of the run (user + system),
# which a busy machine disturbs far less.
python3 - "$old" "$new" "$pairs" "${range[@]}" <<'PY'
import os, resource, statistics, subprocess, sys, time
old, new, pairs, first, last = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4], sys.argv[5]

def run(program):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run([program, "--tsv", first, last], stdout=subprocess.DEVNULL, check=True)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return wall * 1000, cpu * 1000

results = {"old": [], "new": []}
for _ in range(pairs):
    results["old"].append(run(old))
    results["new"].append(run(new))

for kind, index in (("wall", 0), ("cpu", 1)):
    print(f"-- {kind} time")
    for name in ("old", "new"):
        xs = [r[index] for r in results[name]]
        print(f"{name}: min {min(xs):.0f} ms, median {statistics.median(xs):.0f} ms, max {max(xs):.0f} ms   "
              + " ".join(f"{x:.0f}" for x in xs))
    ratios = [o[index] / n[index] for o, n in zip(results["old"], results["new"])]
    print("old/new per pair:", " ".join(f"{r:.2f}" for r in ratios))
    print(f"median pair {statistics.median(ratios):.2f}x, worst pair {min(ratios):.2f}x")
PY

# A century of the feed with every layer (the engine's years end in 2100).
start=$EPOCHREALTIME
"$new" --ics 2001-01-01 2100-12-31 --layers lunar,terms,festivals,statutory,almanac >/dev/null
end=$EPOCHREALTIME
echo "--ics 2001-2100, every layer: $(((${end/./} - ${start/./}) / 1000)) ms wall"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
