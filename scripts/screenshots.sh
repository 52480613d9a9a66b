#!/usr/bin/env bash
# Screenshots of the window program on a virtual screen (default 1280x800).
# Requires: xvfb (xvfb-run), imagemagick (import), xdotool.
# Usage: scripts/screenshots.sh [folder]   (default ./screenshots)
# TARVO_SCREEN sets the screen's size, e.g. TARVO_SCREEN=1024x768.
# TARVO_BIN names the program (default build/app/ui/tarvo, as scripts/run.sh builds it), TARVO_TENDER the
# tender that is opened for the pages (default tests/data/real/LV_Los01.P83), TARVO_XML_TENDER the
# GAEB DA XML tender opened from the command line (default the official X83 test file).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-screenshots}
bin=${TARVO_BIN:-$root/build/app/ui/tarvo}
tender=${TARVO_TENDER:-$root/tests/data/real/LV_Los01.P83}
screen=${TARVO_SCREEN:-1280x800}
[[ $screen =~ ^[0-9]+x[0-9]+$ ]] || { echo "screenshots: TARVO_SCREEN must read WIDTHxHEIGHT" >&2; exit 1; }
xml_tender=${TARVO_XML_TENDER:-$root/tests/data/xml/Pruefdatei_GAEB_DA_XML_3_3_Bauausfuehrung_2024.X83}

for tool in xvfb-run import xdotool; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing" >&2; exit 1; }
done
[ -x "$bin" ] || { echo "screenshots: no program at $bin (set TARVO_BIN)" >&2; exit 1; }
[ -f "$tender" ] || { echo "screenshots: no tender at $tender (set TARVO_TENDER)" >&2; exit 1; }
[ -f "$xml_tender" ] || { echo "screenshots: no tender at $xml_tender (set TARVO_XML_TENDER)" >&2; exit 1; }
tender=$(cd "$(dirname "$tender")" && pwd)/$(basename "$tender")
xml_tender=$(cd "$(dirname "$xml_tender")" && pwd)/$(basename "$xml_tender")
mkdir -p "$out"
out=$(cd "$out" && pwd)

# The program runs with a home of its own, so its settings stay out of the user's.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

# Runs inside the virtual X server.
session() {
  set -euo pipefail
  "$TARVO_BIN" &
  tarvo_pid=$!
  trap 'kill "$tarvo_pid" 2>/dev/null || true' EXIT

  # Waits for a visible window whose title matches, and gives it the keyboard.
  await() {
    local id
    id=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1)
    xdotool windowfocus --sync "$id"
    sleep 1
  }
  gone() {
    local i
    for i in $(seq 50); do
      xdotool search --onlyvisible --name "$1" >/dev/null || return 0
      sleep 0.2
    done
    echo "screenshots: window $1 did not close" >&2
    return 1
  }
  shot() { import -window root "$SHOT_DIR/$1.png"; echo "$SHOT_DIR/$1.png"; }
  main='Tarvo Rudarur: Bieter - Preiserfassung$'

  # Without a window manager "maximised" means nothing; the window is given
  # the whole screen instead.
  await "$main"
  xdotool search --onlyvisible --name "$main" | head -n 1 |
    xargs -I{} xdotool windowmove {} 0 0 windowsize {} "${TARVO_SCREEN%x*}" "${TARVO_SCREEN#*x}"
  sleep 1
  shot start

  xdotool key F1
  await '^Hilfe$'
  shot help
  xdotool key Escape
  gone '^Hilfe$'

  await '^Tarvo Rudarur: Bieter - Preiserfassung$'
  xdotool key alt+h
  sleep 0.5
  xdotool key Up Return
  await '^Info$'
  shot info
  xdotool key Return
  gone '^Info$'

  # The tender is opened as a user would, through the open dialog: F4, the
  # path, Enter.
  await "$main"
  xdotool key F4
  await 'ffnen$'
  shot oeffnen
  xdotool type --delay 5 "$TARVO_TENDER"
  xdotool key Return
  gone 'ffnen$'
  await "$main"
  sleep 1
  shot titel-positionen

  # The file menu with "E-Mail senden", above the tool bar with its button.
  xdotool key alt+d
  sleep 0.5
  shot datei-menu
  xdotool key Escape
  sleep 0.5
  # The tool bar's send button (fourth, after open, save and print) with its hint.
  xdotool mousemove 126 37
  sleep 1.5
  shot senden-werkzeugleiste
  xdotool mousemove 640 790
  sleep 0.5

  # Each page through the mnemonic of its tab.
  local page
  for page in g:gaeb-projekt-info v:vergabe-info a:auftraggeber n:auftragnehmer o:optionen; do
    xdotool key "alt+${page%%:*}"
    sleep 1
    shot "${page#*:}"
  done

  kill "$tarvo_pid"
  wait "$tarvo_pid" || true

  # A GAEB DA XML tender named on the command line, and the save dialog that
  # answers it with an X84.
  "$TARVO_BIN" "$TARVO_XML_TENDER" &
  tarvo_pid=$!
  local titled
  titled="^$(basename "$TARVO_XML_TENDER") - Tarvo Rudarur: Bieter - Preiserfassung$"
  await "$titled"
  xdotool search --onlyvisible --name "$titled" | head -n 1 |
    xargs -I{} xdotool windowmove {} 0 0 windowsize {} "${TARVO_SCREEN%x*}" "${TARVO_SCREEN#*x}"
  sleep 1
  shot x83-titel-positionen
  xdotool key F12
  await '^Speichern unter$'
  shot x83-speichern-als-x84
  xdotool key Escape
  gone '^Speichern unter$'

  kill "$tarvo_pid"
  wait "$tarvo_pid" || true
  trap - EXIT
}

mkdir -m 700 "$home/runtime"
export TARVO_BIN=$bin TARVO_TENDER=$tender TARVO_XML_TENDER=$xml_tender TARVO_SCREEN=$screen SHOT_DIR=$out HOME=$home XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home/runtime
xvfb-run -a -s "-screen 0 ${screen}x24" bash -c "$(declare -f session); session"
