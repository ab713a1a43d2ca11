#!/usr/bin/env bash
# The program as a user gets it: a Release build installed with
# `cmake --install`, its desktop entry and metainfo checked by their
# validators, then the Debian package CPack builds, installed with apt,
# started from /usr/bin on a virtual X server (at the usual pixel density and
# at twice it) and removed again. Replaces an installed same-height package.
set -euo pipefail
source scripts/lib/x11.sh

version=1.00
id=org.sameheight.SameHeight
build=build/package
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
apt=("${as_root[@]}" apt-get -y -qq -o DPkg::Lock::Timeout=900 -o APT::Sandbox::User=root)

fail() {
  echo "40-package: $*" >&2
  exit 1
}

program=
cleanup() {
  [ -z "$program" ] || kill "$program" 2>/dev/null || true
  stop_virtual_display
  if [[ "$(dpkg-query -W -f='${Status}' same-height 2>/dev/null)" == *"ok installed" ]]; then
    "${apt[@]}" remove --purge same-height >/dev/null
  fi
}
trap cleanup EXIT

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DSAME_HEIGHT_BUILD_TESTS=OFF -DSAME_HEIGHT_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target same-height -j "$(nproc)" >/dev/null

echo "--- cmake --install"
stage=$PWD/$build/stage
rm -rf "$stage"
cmake --install "$build" --prefix "$stage" >/dev/null
for file in bin/same-height share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/icons/hicolor/scalable/apps/$id.svg; do
  [ -f "$stage/$file" ] || fail "cmake --install did not install $file"
  echo "$file"
done
[ -x "$stage/bin/same-height" ] || fail "bin/same-height is not executable"

echo "--- desktop-file-validate"
desktop-file-validate "$stage/share/applications/$id.desktop"
grep -qx "Icon=$id" "$stage/share/applications/$id.desktop" || fail "the desktop entry names another icon"
echo "no errors"
echo "--- appstreamcli validate --no-net"
appstreamcli validate --no-net "$stage/share/metainfo/$id.metainfo.xml"
grep -q "<release version=\"$version\"" "$stage/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo has no release $version"

echo "--- cpack"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$build/same-height_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "cpack made no $deb"
dpkg-deb --field "$deb" Package Version Depends Recommends
[ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
# Computed by dpkg-shlibdeps from the executable, not listed by hand.
[[ "$(dpkg-deb --field "$deb" Depends)" == *libqt6widgets6* ]] || fail "no Qt dependency computed"

echo "--- apt-get install"
"${apt[@]}" install "./$deb" >/dev/null
[ "$(dpkg-query -W -f='${Version}' same-height)" = "$version" ] || fail "apt installed another version"
[ "$(dpkg -S /usr/bin/same-height | cut -d: -f1)" = same-height ] || fail "/usr/bin/same-height is not the package's"
dpkg -L same-height | while read -r path; do if [ -f "$path" ]; then echo "$path"; fi; done

echo "--- the installed program on a virtual X server"
start_virtual_display
for scale in 1 2; do
  env -u QT_QPA_PLATFORM QT_SCALE_FACTOR=$scale /usr/bin/same-height 2>/dev/null &
  program=$!
  window=$(wait_for_window Form2)
  size=$(window_size "$window")
  expected="$((305 * scale))x$((277 * scale))"
  [ "$size" = "$expected" ] || fail "Form2 is $size at scale $scale, not $expected"
  icons=$(xprop -id "$window" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | wc -l)
  [ "$icons" -gt 0 ] || fail "Form2 has no window icon"
  echo "scale $scale: Form2 mapped, $size pixels, its icon at $icons sizes"
  kill "$program"
  wait "$program" 2>/dev/null || true
  program=
done
stop_virtual_display

echo "--- apt-get remove"
"${apt[@]}" remove --purge same-height >/dev/null
[ ! -e /usr/bin/same-height ] || fail "/usr/bin/same-height is still there after removal"
echo "removed"
