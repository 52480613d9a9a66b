#!/usr/bin/env bash
# Installs what is missing, builds everything (the benchmarks too, so that
# they keep building) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVO_BUILD_BENCH=ON
cmake --build build/test -j"$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir build/test --output-on-failure -j"$(nproc)"
