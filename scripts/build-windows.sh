#!/usr/bin/env bash
# Installs what is missing and cross-compiles the Windows program, a 32-bit
# Windows GUI program that needs no DLL beyond Windows' own:
# build/windows-release/bin/same-height.exe
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-packages.sh $(scripts/packages.sh windows)
cmake -S . -B build/windows-release --toolchain cmake/mingw-w64-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release -DSAME_HEIGHT_BUILD_TESTS=OFF >/dev/null
cmake --build build/windows-release --target same-height -j "$(nproc)"
echo "$PWD/build/windows-release/bin/same-height.exe"
