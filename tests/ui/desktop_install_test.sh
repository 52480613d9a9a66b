#!/usr/bin/env bash
# Installs the build into a folder of its own and checks what a desktop
# needs to open a tender with a double click: the program, its entry with
# the file argument and icon, and file types for every tender extension
# that the entry names.
# Usage: desktop_install_test.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "desktop install: $*" >&2; exit 1; }

DESTDIR= cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share
entry=$share/applications/tarvo.desktop
[ -x "$prefix/bin/tarvo" ] || fail "no program in bin"
[ -f "$entry" ] || fail "no desktop entry"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$entry"; fi
grep -qx 'Exec=tarvo %f' "$entry" || fail "the entry does not hand the file to the program"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no icon $icon"

# The installation registered the types; the glob list says which type each
# extension has.
[ -f "$share/mime/globs2" ] || update-mime-database "$share/mime"
for ext in d83 p83 d84 x83; do
  type=$(awk -F: -v glob="*.$ext" '$3 == glob { print $2 }' "$share/mime/globs2")
  [ -n "$type" ] || fail "no file type for .$ext"
  grep -q "^MimeType=\(.*;\)\?$type;" "$entry" || fail "the entry does not open $type"
done
echo "desktop install: ok"
