#!/bin/sh
# Opening a large tender as the user waits for it: the whole tarvo-cli process
# (start, read, recompute, print the summary, exit) on a cold file, once as
# GAEB 2000 and once as GAEB DA XML of the same generated tender, with its
# peak memory, beside `wc -l` on the same file as the floor.
#
#   bench/x83_whole_process.sh BUILD_DIR [POSITIONS]
#
# BUILD_DIR is a Release build configured with -DTARVO_BUILD_BENCH=ON
# (gen_tender_main and tarvo-cli built). Dropping the page cache needs root;
# without it the files are read warm and the script says so.
set -eu
build=${1:?usage: $0 BUILD_DIR [POSITIONS]}
positions=${2:-100000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bench/gen_tender_main" "$work/tender.d83" "$positions" >/dev/null
"$build/bench/gen_tender_main" "$work/tender.x83" "$positions" --x83 >/dev/null

cold() {
  if [ "$(id -u)" = 0 ] && sync && echo 3 >/proc/sys/vm/drop_caches 2>/dev/null; then
    return 0
  fi
  echo "(page cache not dropped: warm file)" >&2
}

measure() {
  label=$1
  shift
  cold
  /usr/bin/time -v "$@" >/dev/null 2>"$work/time"
  seconds=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time" |
    awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }')
  peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time")
  echo "$label $seconds $peak"
}

for format in d83 x83; do
  file="$work/tender.$format"
  bytes=$(stat -c %s "$file")
  measure "wc" wc -l "$file" >"$work/floor"
  measure "cli" "$build/cli/tarvo-cli" info "$file" >"$work/program"
  awk -v format="$format" -v bytes="$bytes" -v positions="$positions" '
    { seconds[$1] = $2; peak[$1] = $3 }
    END {
      mb = bytes / 1e6
      printf "%s: %d positions, %.1f MB\n", toupper(format), positions, mb
      for (k in seconds) {
        s = seconds[k] > 0 ? seconds[k] : 0.01
        printf "  %-10s %6.2f s  %8.1f MB/s  peak %7.1f MB\n",
               (k == "cli" ? "tarvo-cli" : "wc -l"), seconds[k], mb / s, peak[k] / 1024
      }
    }' "$work/floor" "$work/program"
done
