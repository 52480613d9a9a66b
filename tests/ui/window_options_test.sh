#!/usr/bin/env bash
# --help and --version of the window program need no display and go to
# stdout; an option it does not know ends it with 2 and the usage on stderr,
# also behind a tender's name, and after Qt has taken its own options.
# Usage: window_options_test.sh PROGRAM VERSION
set -euo pipefail
program=$1
version=$2
fail() { echo "window options: $*" >&2; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

for option in --help -h; do
  env -u DISPLAY QT_QPA_PLATFORM= "$program" "$option" > "$out/stdout" 2> "$out/stderr" ||
    fail "$option failed"
  head -n 1 "$out/stdout" | grep -qx 'Aufruf:' || fail "$option shows no usage"
  grep -q -- '--version' "$out/stdout" || fail "$option does not name --version"
  [ ! -s "$out/stderr" ] || fail "$option wrote to stderr: $(cat "$out/stderr")"
done
[ "$(env -u DISPLAY QT_QPA_PLATFORM= "$program" --version)" = "tarvo $version" ] ||
  fail "--version does not show 'tarvo $version'"

for args in "--verbose" "lv.d83 -x" "-platform offscreen --bogus" "--"; do
  status=0
  # shellcheck disable=SC2086
  timeout 20 "$program" $args > "$out/stdout" 2> "$out/stderr" || status=$?
  [ "$status" -eq 2 ] || fail "'$args' ended with $status, not 2"
  grep -q '^Unbekannte Option: -' "$out/stderr" || fail "'$args' names no option"
  grep -qx 'Aufruf:' "$out/stderr" || fail "'$args' shows no usage on stderr"
  [ ! -s "$out/stdout" ] || fail "'$args' wrote to stdout"
done
echo "window options: ok"
