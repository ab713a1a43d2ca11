#!/usr/bin/env bash
# The program and every test, built with g++ and run through ctest.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test -j "$(nproc)"
ctest --test-dir build/test --output-on-failure -j "$(nproc)"
