#!/bin/sh
# Printing a tender whose long text is one very long line, as the user waits
# for it: the whole tarvo-cli process of `print --long-texts` beside `info`
# (reading and summing alone) on the same file, for a GAEB 2000 tender with
# a long text of one 12 MB line and a GAEB DA XML tender with one text of
# 40 MB (four paragraphs of 10 MB). With wrapping in linear time the print
# takes a few times `info`.
#
#   bench/long_text_print.sh [-r RUNS] [-t SECONDS] BUILD_DIR [BUILD_DIR...]
#
# BUILD_DIR is a build with cli/tarvo-cli and bench/gen_tender_main
# (-DTARVO_BUILD_BENCH=ON); several build trees (before and after a change)
# are measured on the same files. Each figure is the median wall time of
# RUNS runs (default 3) with the peak memory; a run is stopped after SECONDS
# (default 600) and then shown as at least that long.
set -eu
runs=3
limit=600
while getopts "r:t:" opt; do
  case $opt in
    r) runs=$OPTARG ;;
    t) limit=$OPTARG ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
if [ $# -lt 1 ]; then
  sed -n '2,15p' "$0" >&2
  exit 2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$1/bench/gen_tender_main" "$work/long.d83" 10 --long-line 12 >/dev/null
"$1/bench/gen_tender_main" "$work/long.x83" 10 --long-line 40 --x83 >/dev/null

# "seconds peak-KB" of one run; a run stopped at the limit gives ">limit".
measure() {
  if timeout "$limit" /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/err"; then
    cat "$work/time"
  else
    echo ">$limit 0"
  fi
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "load before: $(uptime | sed 's/.*load average: //')   runs: $runs"
for file in "$work/long.d83" "$work/long.x83"; do
  printf "\n== %s, %.1f MB\n" "$(basename "$file")" "$(stat -c %s "$file" | awk '{ print $1 / 1e6 }')"
  printf "%-40s %-8s %10s %9s\n" "build" "command" "median s" "peak MB"
  for build in "$@"; do
    for command in info print; do
      : >"$work/times"
      i=0
      while [ $i -lt "$runs" ]; do
        if [ $command = info ]; then
          measure "$build/cli/tarvo-cli" info "$file" >>"$work/times"
        else
          measure "$build/cli/tarvo-cli" print "$file" "$work/print.txt" --long-texts >>"$work/times"
        fi
        i=$((i + 1))
      done
      seconds=$(cut -d' ' -f1 "$work/times" | median)
      peak=$(cut -d' ' -f2 "$work/times" | sort -g | tail -1)
      printf "%-40s %-8s %10s %9.1f\n" "$build" "$command" "$seconds" "$(echo "$peak" | awk '{ print $1 / 1024 }')"
    done
  done
done
echo "load after: $(uptime | sed 's/.*load average: //')"
