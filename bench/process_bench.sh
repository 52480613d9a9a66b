#!/bin/bash
# What the user waits for: the built programs run as whole processes (start,
# read, compute, write, exit) on generated tenders of 10,000 and 100,000
# positions, each run on a cold file (its pages dropped from the page cache,
# the program and its libraries left as they are, as when a user opens a new
# tender), beside the floor `wc -l` on the same file. Prints the median
# time, MB/s and the peak resident memory (/usr/bin/time, in MiB; "x file"
# is it over the file's size) of every command.
#
#   bench/process_bench.sh [-r RUNS] [-d DATA_DIR] [-w] BUILD_DIR [BUILD_DIR...]
#
# BUILD_DIR is a build tree with cli/tarvo-cli and bench/gen_tender_main (a
# Release build: cmake --preset release -DTARVO_BUILD_BENCH=ON); with
# bench/bench_window_open (a build with the window) the time from the start
# of the window to the first LV area shown is measured too (as the program
# reports it; the peak memory is the whole process's). Several build trees
# (before and after a change) are measured in the same run, their runs
# interleaved in alternating order so that they share the machine's load.
# The tenders are written to DATA_DIR (default: a temporary directory) by the
# generator of the first build tree, unless they exist there. -w leaves the
# page cache alone (warm files, for trying things out).
set -euo pipefail

runs=5
data=""
warm=no
while getopts "r:d:w" opt; do
  case $opt in
    r) runs=$OPTARG ;;
    d) data=$OPTARG ;;
    w) warm=yes ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
if [ $# -lt 1 ]; then
  sed -n '2,20p' "$0" >&2
  exit 2
fi
builds=("$@")
out=$(mktemp -d)
temporary=("$out")
if [ -z "$data" ]; then
  data=$(mktemp -d)
  temporary+=("$data")
fi
trap 'rm -rf "${temporary[@]}"' EXIT
# The export stores its priced positions into a price archive of the run's
# own, never into the user's.
export XDG_DATA_HOME="$out/data" XDG_CONFIG_HOME="$out/config"

cold=yes
[ $warm = yes ] && cold=no
# Drops the tender's pages from the page cache (the whole file: count=0).
drop_file() { [ $cold = yes ] && dd if="$file" iflag=nocache count=0 status=none || true; }

# "seconds peak-KB" of one run of the command, output discarded.
measure() {
  drop_file
  /usr/bin/time -f "%e %M" -o "$out/time" "$@" > /dev/null 2> "$out/err" || {
    echo "failed: $* ($(head -c 300 "$out/err"))" >&2
    echo "nan 0"
    return
  }
  cat "$out/time"
}

# The same for the window: the seconds from the start of the process to the
# first area painted, as the program reports them, and the peak memory.
measure_window() {
  drop_file
  /usr/bin/time -f "%e %M" -o "$out/time" "$@" > "$out/shown" 2> "$out/err" || {
    echo "failed: $* ($(head -c 300 "$out/err"))" >&2
    echo "nan 0"
    return
  }
  echo "$(sed -n 's/.*shown after \([0-9.]*\) ms.*/\1/p' "$out/shown" | awk '{print $1 / 1000}') $(cut -d' ' -f2 "$out/time")"
}

median() { sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
maximum() { sort -g | tail -1; }
# The last three parts of a build tree's path name it: worktree/build/release.
label_of() {
  echo "$1" | sed 's|/*$||' | awk -F/ '{l = $NF; for (i = NF - 1; i > 0 && i > NF - 3; i--) l = $i "/" l; print l}'
}

echo "load before: $(uptime | sed 's/.*load average: //')   runs: $runs   cold file: $cold"
for positions in 10000 100000; do
  file="$data/tender-$positions.d83"
  [ -f "$file" ] || "${builds[0]}/bench/gen_tender_main" "$file" "$positions" > /dev/null
  bytes=$(stat -c %s "$file")
  mb=$(awk -v b="$bytes" 'BEGIN {printf "%.1f", b / 1e6}')
  echo
  echo "== $positions positions, $mb MB, $(wc -l < "$file") lines: $file"
  printf "%-26s %-8s %9s %9s %10s %8s\n" "build" "command" "median s" "MB/s" "peak MiB" "x file"

  rm -f "$out"/*.times
  for ((run = 0; run < runs; run++)); do
    measure wc -l "$file" >> "$out/wc.times"
    # Every other run takes the builds in reverse order, so that no build
    # always runs right after another one's large process.
    for ((i = 0; i < ${#builds[@]}; i++)); do
      b=$i
      ((run % 2 == 1)) && b=$((${#builds[@]} - 1 - i))
      build=${builds[$b]}
      measure "$build/cli/tarvo-cli" info "$file" >> "$out/$b-info.times"
      measure "$build/cli/tarvo-cli" export "$file" "$out/offer.d84" >> "$out/$b-export.times"
      if [ -x "$build/bench/bench_window_open" ]; then
        measure_window "$build/bench/bench_window_open" "$file" >> "$out/$b-window.times"
      fi
    done
  done

  report() {
    local label=$1 command=$2 times=$3
    local s kb
    s=$(cut -d' ' -f1 "$times" | median)
    kb=$(cut -d' ' -f2 "$times" | maximum)
    awk -v l="$label" -v c="$command" -v s="$s" -v kb="$kb" -v b="$bytes" 'BEGIN {
      printf "%-26s %-8s %9.3f %9.1f %10.1f %8.2f\n", l, c, s, (s > 0 ? b / 1e6 / s : 0),
             kb / 1024, kb * 1024 / b }'
  }
  report "floor" "wc -l" "$out/wc.times"
  for ((b = 0; b < ${#builds[@]}; b++)); do
    label=$(label_of "${builds[$b]}")
    report "$label" info "$out/$b-info.times"
    report "$label" export "$out/$b-export.times"
    [ -f "$out/$b-window.times" ] && report "$label" window "$out/$b-window.times"
    cp "$out/$b-info.times" "$out/$b-info-$positions.kb"
  done
done

echo
echo "Memory per position (peak of info, 100,000 less 10,000 positions, over 90,000):"
for ((b = 0; b < ${#builds[@]}; b++)); do
  small=$(cut -d' ' -f2 "$out/$b-info-10000.kb" | maximum)
  large=$(cut -d' ' -f2 "$out/$b-info-100000.kb" | maximum)
  label=$(label_of "${builds[$b]}")
  awk -v l="$label" -v s="$small" -v g="$large" 'BEGIN {
    printf "%-26s %8.0f bytes per position, texts included\n", l, (g - s) * 1024 / 90000 }'
done
echo "load after: $(uptime | sed 's/.*load average: //')"
