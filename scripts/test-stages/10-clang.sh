#!/usr/bin/env bash
# The program and every test built with clang++ (warnings as errors, as with
# g++), and run through ctest: a second compiler catches what the first lets by.
set -euo pipefail
cd "$(dirname "$0")/../.."
CXX=clang++ cmake -S . -B build/clang -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/clang -j "$(nproc)"
ctest --test-dir build/clang --output-on-failure -j "$(nproc)"

# The program also builds where Fontconfig is not found, without the thread
# that reads the font configuration at start-up.
CXX=clang++ cmake -S . -B build/clang-no-fontconfig -DCMAKE_DISABLE_FIND_PACKAGE_Fontconfig=ON \
  -DSAME_HEIGHT_BUILD_TESTS=OFF -DSAME_HEIGHT_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/clang-no-fontconfig --target same-height -j "$(nproc)"
