#!/usr/bin/env bash
# Installs what is missing, builds a Release and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-packages.sh $(scripts/packages.sh build)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release \
  -DSAME_HEIGHT_BUILD_TESTS=OFF -DSAME_HEIGHT_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/release --target same-height -j "$(nproc)"
exec build/release/runtime/qt/same-height
