#!/usr/bin/env bash
# Start-up, week switch and memory of the real notebook, under a virtual
# display of its own (Xvfb, started here through xvfb-run).
#
#   benchmarks/startup/run.sh [--build DIR] [--runs N] [--switches N]
#
# 1. Cold start: N pairs of starts, notebook and a bare Qt window of the same
#    size (hello_window) in alternating order, for an empty notebook, ten
#    years and a hundred years of notes (5,200 weeks × 6 notes of ~2 KB RTF).
#    A start is timed from the moment the script starts the program (bash's
#    $EPOCHREALTIME) to the wall-clock time the program prints once its first
#    painting is on screen (QN_BENCH_EXIT_ON_PAINT, core/PaintProbe.h, the same
#    code in both programs). Goal: the median of the pairs' ratios ≤ 1.8.
#    "Cold" means a new process; the files are in the page cache (each
#    program is started once before the timed runs).
# 2. Week switch at a hundred years: the program itself clicks days of other
#    weeks in its calendar (every sixth switch Page Up) through its window,
#    and times each click to the painting on screen (QN_BENCH_SWITCHES).
#    Goal: p50 ≤ 8 ms, p99 ≤ 15 ms.
# 3. A notebook without the lookup index gets it at its first start.
# 4. Memory (VmRSS from /proc/PID/status, Pss from /proc/PID/smaps_rollup)
#    once the program has settled: a new folder after start-up (goal ≤ 60
#    MiB RSS), ten years of notes after 50 week switches (goal ≤ 66 MiB).
#
# The machine's load (uptime) is printed with each part: on a shared machine
# the paired ratios hold better than the absolute times.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$root/build
runs=20
switches=240
while (($#)); do
  case $1 in
  --build) build=$(cd "$2" && pwd); shift 2 ;;
  --runs) runs=$2; shift 2 ;;
  --switches) switches=$2; shift 2 ;;
  *) echo "usage: $0 [--build DIR] [--runs N] [--switches N]" >&2; exit 2 ;;
  esac
done

if [[ -z ${QN_BENCH_DISPLAY_STARTED:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" env QN_BENCH_DISPLAY_STARTED=1 \
    bash "$0" --build "$build" --runs "$runs" --switches "$switches"
fi

bin=$build/bin
for program in qnweeknote hello_window make_notebook; do
  [[ -x $bin/$program ]] || { echo "missing $bin/$program: build it first" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

failures=0
verdict() {  # verdict NAME OK(0/1) TEXT
  if (($2)); then
    printf '  %-44s %s   PASS\n' "$1" "$3"
  else
    printf '  %-44s %s   FAIL\n' "$1" "$3"
    failures=$((failures + 1))
  fi
}
load() { echo "  load: $(uptime | sed 's/.*load average: //')"; }

echo "== notebooks"
mkdir -p "$work/empty"
"$bin/make_notebook" --years 10 "$work/y10" >/dev/null
"$bin/make_notebook" --years 100 "$work/y100" >/dev/null
"$bin/make_notebook" --years 10 --without-index "$work/noindex" >/dev/null
du -sh "$work"/y10/Data/UserData.mdb "$work"/y100/Data/UserData.mdb | sed 's/^/  /'

# "<wall µs> <CPU µs>" from the start to the first painting of one run: the
# wall-clock time the user waits and the CPU time the process spent.
time_start() {  # time_start COMMAND...
  local start out wall cpu
  start=${EPOCHREALTIME/./}
  out=$("$@" 2>/dev/null) || true
  wall=$(sed -n 's/^first_paint_us //p' <<<"$out")
  cpu=$(sed -n 's/^first_paint_cpu_us //p' <<<"$out")
  [[ -n $wall && -n $cpu ]] || { echo "no first painting from: $*" >&2; exit 1; }
  echo "$((wall - start)) $cpu"
}

# "p" -> the value at that fraction of the sorted numbers on stdin.
percentile() { sort -n | awk -v p="$1" '{ v[NR] = $1 } END { i = int(p * NR + 0.999999); if (i < 1) i = 1; print v[i] }'; }

echo
echo "== 1. cold start: $runs alternating pairs per notebook"
load
declare -A median worst cpuRatio notebookMs helloMs
for size in empty y10 y100; do
  folder=$work/$size
  note=(env QN_BENCH_EXIT_ON_PAINT=1 "$bin/qnweeknote" --folder "$folder")
  hello=("$bin/hello_window")
  time_start "${note[@]}" >/dev/null  # page cache, and the empty notebook's file
  time_start "${hello[@]}" >/dev/null
  : >"$work/pairs"
  for ((i = 0; i < runs; i++)); do
    if ((i % 2)); then
      h=$(time_start "${hello[@]}"); n=$(time_start "${note[@]}")
    else
      n=$(time_start "${note[@]}"); h=$(time_start "${hello[@]}")
    fi
    echo "$n $h" >>"$work/pairs"  # notebook wall, CPU; hello wall, CPU
  done
  median[$size]=$(awk '{ printf "%.3f\n", $1 / $3 }' "$work/pairs" | percentile 0.5)
  worst[$size]=$(awk '{ printf "%.3f\n", $1 / $3 }' "$work/pairs" | percentile 1)
  cpuRatio[$size]=$(awk '{ printf "%.3f\n", $2 / $4 }' "$work/pairs" | percentile 0.5)
  notebookMs[$size]=$(awk '{ print $1 }' "$work/pairs" | percentile 0.5 | awk '{ printf "%.0f", $1 / 1000 }')
  helloMs[$size]=$(awk '{ print $3 }' "$work/pairs" | percentile 0.5 | awk '{ printf "%.0f", $1 / 1000 }')
done
load
printf '  %-8s %12s %12s %14s %12s %12s\n' notebook "notebook ms" "hello ms" "median ratio" "worst ratio" "CPU ratio"
for size in empty y10 y100; do
  printf '  %-8s %12s %12s %14s %12s %12s\n' "$size" "${notebookMs[$size]}" "${helloMs[$size]}" "${median[$size]}" \
    "${worst[$size]}" "${cpuRatio[$size]}"
done
echo "  (ms: medians of the wall-clock times; CPU ratio: median of the pairs' ratios of process CPU time"
echo "   up to the first painting, which the machine's load does not stretch)"
for size in empty y10 y100; do
  verdict "cold start $size: median ratio ≤ 1.8" \
    "$(awk -v r="${median[$size]}" 'BEGIN { print (r <= 1.8) }')" "${median[$size]}"
done

echo
echo "== 2. week switch at 100 years: $switches switches, click to painted"
load
QN_BENCH_SWITCHES=$switches "$bin/qnweeknote" --folder "$work/y100" >"$work/switch.out" 2>/dev/null || true
awk '$1 == "switch_us" { print $2 }' "$work/switch.out" >"$work/switch"
awk '$1 == "switch_us" { print $3 }' "$work/switch.out" >"$work/switch_cpu"
done_switches=$(wc -l <"$work/switch")
weeks=$(awk '$1 == "switch_us" { print $4 }' "$work/switch.out" | sort -u | wc -l)
load
ms() { awk '{ printf "%.1f", $1 / 1000 }'; }
p50=$(percentile 0.5 <"$work/switch" | ms)
p99=$(percentile 0.99 <"$work/switch" | ms)
max=$(percentile 1 <"$work/switch" | ms)
cpu50=$(percentile 0.5 <"$work/switch_cpu" | ms)
cpu99=$(percentile 0.99 <"$work/switch_cpu" | ms)
echo "  $done_switches switches over $weeks different weeks"
echo "  click to painted:            p50 $p50 ms, p99 $p99 ms, max $max ms"
echo "  main thread's CPU time:      p50 $cpu50 ms, p99 $cpu99 ms"
verdict "switches done" "$((done_switches == switches))" "$done_switches/$switches"
verdict "week switch p50 ≤ 8 ms" "$(awk -v v="$p50" 'BEGIN { print (v <= 8) }')" "$p50 ms"
verdict "week switch p99 ≤ 15 ms" "$(awk -v v="$p99" 'BEGIN { print (v <= 15) }')" "$p99 ms"

echo
echo "== 3. a notebook without the lookup index"
index_count() {
  python3 -c 'import sqlite3, sys
c = sqlite3.connect("file:" + sys.argv[1] + "?mode=ro", uri=True)
print(c.execute("SELECT count(*) FROM sqlite_master WHERE type = '"'index'"' AND tbl_name = '"'tb_NewQN'"'").fetchone()[0])' \
    "$1"
}
before=$(index_count "$work/noindex/Data/UserData.mdb")
QN_BENCH_SWITCHES=0 "$bin/qnweeknote" --folder "$work/noindex" >/dev/null 2>&1 || true
after=$(index_count "$work/noindex/Data/UserData.mdb")
verdict "lookup index made at start (before $before)" "$((before == 0 && after == 1))" "after $after"

echo
echo "== 4. memory once settled"
load
memory() {  # memory FOLDER SWITCHES -> "rss_kb pss_kb"
  local out
  out=$(QN_BENCH_SWITCHES=$2 "$bin/qnweeknote" --folder "$1" 2>/dev/null) || true
  echo "$(sed -n 's/^vmrss_kb //p' <<<"$out") $(sed -n 's/^pss_kb //p' <<<"$out")"
}
mkdir -p "$work/new"
read -r newRss newPss < <(memory "$work/new" 0)
newRss=${newRss:-999999999} newPss=${newPss:-0}
read -r tenRss tenPss < <(memory "$work/y10" 50)
tenRss=${tenRss:-999999999} tenPss=${tenPss:-0}
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
printf '  %-34s %10s %10s\n' "" "VmRSS MiB" "Pss MiB"
printf '  %-34s %10s %10s\n' "new folder, after start-up" "$(mib "$newRss")" "$(mib "$newPss")"
printf '  %-34s %10s %10s\n' "ten years, after 50 switches" "$(mib "$tenRss")" "$(mib "$tenPss")"
verdict "new folder RSS ≤ 60 MiB" "$((newRss <= 60 * 1024))" "$(mib "$newRss") MiB"
verdict "ten years RSS ≤ 66 MiB" "$((tenRss <= 66 * 1024))" "$(mib "$tenRss") MiB"

echo
if ((failures)); then
  echo "$failures goal(s) FAILED"
  exit 1
fi
echo "every goal PASSED"
