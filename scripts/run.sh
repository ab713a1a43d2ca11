#!/usr/bin/env bash
# Installs what is missing, builds a Release and starts the program.
# Without a display (neither DISPLAY nor WAYLAND_DISPLAY set) it starts the
# program on a virtual X display of its own (Xvfb, installed here too), says
# so, and stops that display once the program has ended.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=$(scripts/packages.sh build)
has_display() { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }
has_display || packages="$packages xvfb"

scripts/install-packages.sh $packages
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release \
  -DSAME_HEIGHT_BUILD_TESTS=OFF -DSAME_HEIGHT_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/release --target same-height -j "$(nproc)"
program=build/release/runtime/qt/same-height

has_display && exec "$program"

source scripts/lib/x11.sh
trap stop_virtual_display EXIT
start_virtual_display
echo "scripts/run.sh: no display is set, so the program runs on a virtual X display" \
  "of its own, $DISPLAY (Xvfb), until it is closed or this script is stopped (Ctrl+C)" >&2
"$program"
