#!/usr/bin/env bash
# Fails when a C++ file of the project differs from .clang-format; names each one.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || {
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq clang-format
}
off=0
while IFS= read -r f; do
  if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
    echo "not formatted: $f (clang-format -i $f)"
    off=1
  fi
done < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
exit $off
