#!/usr/bin/env bash
# The program and every test built with clang++ (warnings as errors, as with
# g++), and run through ctest: a second compiler catches what the first lets by.
set -euo pipefail
cd "$(dirname "$0")/../.."
CXX=clang++ cmake -S . -B build/clang -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/clang -j "$(nproc)"
ctest --test-dir build/clang --output-on-failure -j "$(nproc)"
