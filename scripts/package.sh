#!/usr/bin/env bash
# Builds the Debian package tarvo_<version>_<arch>.deb with CPack and checks
# it with lintian (errors fail, warnings are shown).
# Usage: scripts/package.sh [BUILD_DIR]
# Without BUILD_DIR a Release build without tests is made in build/package
# with Debian's hardening flags (dpkg-buildflags). With BUILD_DIR the programs
# of that configured build tree are packaged, so CI packages what its tests
# ran on; the tree is set to install into /usr. The package is written to
# the top of the checkout.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=${1:-}
if [ -z "$build" ]; then
  build=build/package
  eval "$(dpkg-buildflags --export=sh)"
  export CXXFLAGS="$CPPFLAGS $CXXFLAGS"
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVO_BUILD_TESTS=OFF \
        -DTARVO_BUILD_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/usr
else
  cmake -B "$build" -DCMAKE_INSTALL_PREFIX=/usr
fi
cmake --build "$build" -j"$(nproc)"
rm -f tarvo_*.deb
cpack --config "$build/CPackConfig.cmake" -B "$build/cpack"
cp "$build"/cpack/tarvo_*.deb .
deb=$(ls tarvo_*.deb)
lintian --fail-on error --tag-display-limit 0 "$deb"
echo "package: $deb"
