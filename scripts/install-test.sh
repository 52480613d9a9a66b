#!/usr/bin/env bash
# Installs the package into this system as a user would (apt-get install),
# uses the installed programs from outside, and removes it again with
# apt-get purge; afterwards nothing of the package may be left. Runs as root
# on a machine where tarvo is not installed (CI).
# Usage: scripts/install-test.sh [PACKAGE]   (default: the tarvo_*.deb at the top)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deb=$(realpath "${1:-$(ls "$root"/tarvo_*.deb | tail -n 1)}")
tender=$root/tests/data/real/LV_Los01.P83
fail() { echo "install test: $*" >&2; exit 1; }
installed() { dpkg-query -W -f='${Status}' tarvo 2>/dev/null | grep -q "ok installed"; }

[ "$(id -u)" -eq 0 ] || fail "must run as root: it installs into the system"
installed && fail "tarvo is installed already; the test would remove it"
for tool in xvfb-run xdotool desktop-file-validate xdg-mime; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh)"
done
version=$(dpkg-deb -f "$deb" Version)
work=$(mktemp -d)
cleanup() {
  if installed; then DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq tarvo >/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
# The programs run with a home of their own, so that no settings of the
# machine's user count and none are left.
export HOME=$work/home XDG_CONFIG_HOME= XDG_DATA_HOME= XDG_CACHE_HOME=
mkdir -p "$HOME"

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
installed || fail "apt-get did not install $deb"
dpkg -L tarvo > "$work/files"

# The entry, the file types and the manual pages.
entry=/usr/share/applications/tarvo.desktop
desktop-file-validate "$entry"
for type in application/x-gaeb2000-d83 application/x-gaeb2000-p83 application/x-gaeb2000-d84 \
            application/x-gaeb-xml-x83 application/x-gaeb-xml-x84; do
  [ "$(xdg-mime query default "$type")" = tarvo.desktop ] || fail "$type does not open with tarvo"
done
grep -q '\*\.p83' /usr/share/mime/globs2 || fail "the file types are not in the MIME database"
for page in tarvo tarvo-cli; do
  [ -s /usr/share/man/man1/$page.1.gz ] || fail "no manual page $page(1)"
done

# The command line on a real tender.
[ "$(tarvo-cli --version)" = "tarvo-cli $version" ] || fail "tarvo-cli --version"
[ "$(tarvo --version)" = "tarvo $version" ] || fail "tarvo --version"
tarvo-cli info "$tender" > "$work/info"
grep -qx 'Positionen:   13' "$work/info" || fail "tarvo-cli info: $(cat "$work/info")"
tarvo-cli export "$tender" "$work/offer.d84" 2>/dev/null
grep -q '^#begin\[GAEB\]' "$work/offer.d84" || fail "tarvo-cli export wrote no D84"
tarvo-cli info "$work/offer.d84" | grep -qx 'Positionen:   13' || fail "the D84 does not read back"

# The window program on a virtual screen opens the tender given as argument
# (its name appears in the title) and closes on Esc as for a user; the
# offscreen platform starts too.
QT_QPA_PLATFORM=offscreen tarvo --help | grep -q '^Aufruf:' || fail "tarvo --help"
window() {
  set -euo pipefail
  tarvo "$1" 2> "$2/tarvo.err" &
  pid=$!
  trap 'kill "$pid" 2>/dev/null || true' EXIT
  id=$(timeout 30 xdotool search --sync --onlyvisible --name "^$(basename "$1") - " | head -n 1) ||
    { echo "the window did not open the tender" >&2; exit 1; }
  xdotool windowfocus --sync "$id" key Escape
  for _ in $(seq 100); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      exit
    fi
    sleep 0.1
  done
  echo "the window did not close on Esc" >&2
  exit 1
}
# xvfb-run is a POSIX shell script, which drops exported functions.
xvfb-run -a -s "-screen 0 1280x800x24" bash -c "$(declare -f window)"'; window "$0" "$1"' \
  "$tender" "$work" ||
  fail "tarvo: $(cat "$work/tarvo.err")"
grep -q "LV_Los01.P83" "$HOME/.config/Software/Tarvo_Redurir.ini" ||
  fail "the window did not remember the tender it opened"

# Removed, nothing of it is left (the user's own files in the home aside).
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq tarvo >/dev/null
installed && fail "apt-get purge left the package installed"
dpkg-query -W tarvo >/dev/null 2>&1 && fail "dpkg still knows tarvo after purge"
while read -r path; do
  [ -f "$path" ] || [ -L "$path" ] && fail "left after purge: $path"
done < "$work/files"
for dir in /usr/lib/x86_64-linux-gnu/tarvo /usr/share/doc/tarvo /usr/include/tarvo; do
  [ ! -e "$dir" ] || fail "left after purge: $dir"
done
grep -q 'x-gaeb' /usr/share/mime/globs2 && fail "the file types stayed in the MIME database"
grep -qs 'tarvo.desktop' /usr/share/applications/mimeinfo.cache && fail "the entry stayed in mimeinfo.cache"
echo "install test: ok ($deb)"
