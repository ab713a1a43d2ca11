#!/usr/bin/env bash
# The Windows program: cross-compiled for 32-bit Windows with MinGW-w64, its
# file checked, and its unit, window and whole-program tests run under Wine,
# in a fresh Wine prefix, on a virtual X display. Where this machine's kernel
# runs no 32-bit programs (and so no 32-bit Wine), the tests run on the same
# code built for 64-bit Windows, under 64-bit Wine.
set -euo pipefail
cd "$(dirname "$0")/../.."
started=$SECONDS

# Wine runs 32-bit Windows programs through Debian's i386 packages.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" dpkg --add-architecture i386
fi
# The whole-program run of the user-action table drives Wine's windows with
# the same X tools as the Qt build's.
scripts/install-packages.sh $(scripts/packages.sh windows windows-i386 windows-wine64 program-tests)

build=build/windows
cmake -S . -B "$build" --toolchain cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
if wine --version >/dev/null 2>&1; then
  cmake --build "$build" -j "$(nproc)"
else
  echo "This kernel runs no 32-bit programs: the tests run on a 64-bit build under 64-bit Wine."
  cmake --build "$build" --target same-height -j "$(nproc)"
  cmake -DEXE="$build/bin/same-height.exe" -DOBJDUMP=i686-w64-mingw32-objdump \
    -P tests/program/win32/check_exe.cmake
  build=build/windows64
  cmake -S . -B "$build" --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j "$(nproc)"
fi

# A fresh Wine prefix on every run, made once below.
export WINEPREFIX="$PWD/$build/wine-prefix"
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"

# The prefix is made before the tests start (run-under-wine makes it when
# it is missing); the Wine server and everything it started end with the
# tests, before the X display they draw on.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  status=0
  "$0/run-under-wine" cmd /c exit || status=$?
  [ $status -ne 0 ] || ctest --test-dir "$0" --output-on-failure -j "$(nproc)" || status=$?
  wineserver -k 2>/dev/null || true
  exit $status' "$build"

echo "Windows stage: $((SECONDS - started)) s"
