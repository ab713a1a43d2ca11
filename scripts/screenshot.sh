#!/usr/bin/env bash
# Renders the real window on a virtual X server to docs/form2.png, the
# picture the README shows. Run it by hand after changing how the window looks.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/x11.sh

scripts/install-packages.sh $(scripts/packages.sh build) xvfb x11-utils imagemagick
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release \
  -DSAME_HEIGHT_BUILD_TESTS=OFF -DSAME_HEIGHT_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/release --target same-height -j "$(nproc)"

program=
cleanup() {
  [ -z "$program" ] || kill "$program" 2>/dev/null || true
  stop_virtual_display
}
trap cleanup EXIT
start_virtual_display
# The picture shows the program as it looks by default, whatever desktop
# settings the caller's session has.
env -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE -u QT_SCALE_FACTOR -u QT_FONT_DPI \
  -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION build/release/runtime/qt/same-height &
program=$!
window=$(wait_for_window Form2)
sleep 0.5 # let the first paint finish
# A thin grey edge keeps the light window apart from a light page; no dates
# in the file, so an unchanged window gives an unchanged picture.
import -window "$window" png:- |
  convert - -bordercolor '#a0a0a0' -border 1 -strip -define png:exclude-chunks=date,time \
    docs/form2.png
echo "docs/form2.png: $(identify -format '%wx%h' docs/form2.png)"
