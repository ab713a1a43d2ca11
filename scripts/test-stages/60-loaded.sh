#!/usr/bin/env bash
# The tests that drive real windows (ctest label "gui": the Qt GUI tests, the
# whole-program tables, the Windows window and program tests under Wine) run
# again while stress-ng keeps every core busy, as on a shared CI machine: a
# test whose verdict rests on timing rather than on an event fails here first.
# It reuses the builds of the earlier stages (build/clang, and the Windows
# build of 30-windows.sh) and builds only what is missing.
set -euo pipefail
cd "$(dirname "$0")/../.."
started=$SECONDS
scripts/install-packages.sh $(scripts/packages.sh loaded)

qt_build=build/clang
if [ ! -f "$qt_build/CMakeCache.txt" ]; then
  CXX=clang++ cmake -S . -B "$qt_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$qt_build" -j "$(nproc)"

windows_build=build/windows
if ! wine --version >/dev/null 2>&1; then
  windows_build=build/windows64 # no 32-bit Wine on this kernel (see 30-windows.sh)
fi
if [ ! -f "$windows_build/CMakeCache.txt" ]; then
  toolchain=cmake/mingw-w64-i686.cmake
  [ "$windows_build" = build/windows ] || toolchain=cmake/mingw-w64-x86_64.cmake
  cmake -S . -B "$windows_build" --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$windows_build" -j "$(nproc)"

# The load ends with this script, however it ends.
stress-ng --cpu "$(nproc)" --cpu-load 100 --quiet &
load=$!
trap 'kill "$load" 2>/dev/null || true; wait "$load" 2>/dev/null || true' EXIT

status=0
ctest --test-dir "$qt_build" -L gui --no-tests=error --output-on-failure -j "$(nproc)" || status=$?

export WINEPREFIX="$PWD/$windows_build/wine-prefix-loaded"
rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  status=0
  "$0/run-under-wine" cmd /c exit || status=$?
  [ $status -ne 0 ] || ctest --test-dir "$0" -L gui --no-tests=error --output-on-failure -j "$(nproc)" || status=$?
  wineserver -k 2>/dev/null || true
  exit $status' "$windows_build" || status=$?

echo "Loaded stage: $((SECONDS - started)) s"
exit $status
