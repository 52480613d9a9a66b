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
# Each picture is as large as the folder it is in says.
for size in 16 22 24 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/$icon.png
  [ -f "$png" ] || fail "no icon of $size pixels"
  dims=$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]))' "$png")
  [ "$dims" = "${size}x${size}" ] || fail "$png is $dims"
done
[ -x "$prefix/bin/tarvo-cli" ] || fail "no tarvo-cli in bin"
for page in tarvo tarvo-cli; do
  gzip -dc "$share/man/man1/$page.1.gz" | grep -q "^\.TH ${page^^} 1" || fail "no manual page $page(1)"
done

# The installation registered the types; the glob list says which type each
# extension has.
[ -f "$share/mime/globs2" ] || update-mime-database "$share/mime"
for ext in d83 p83 d84 x83; do
  type=$(awk -F: -v glob="*.$ext" '$3 == glob { print $2 }' "$share/mime/globs2")
  [ -n "$type" ] || fail "no file type for .$ext"
  grep -q "^MimeType=\(.*;\)\?$type;" "$entry" || fail "the entry does not open $type"
done
echo "desktop install: ok"
