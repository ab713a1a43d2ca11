#!/usr/bin/env bash
# The program as a user gets it:
# - a Release build installed with `cmake --install`: the files a package
#   needs, the desktop entry and metainfo checked by their validators, the
#   program checked for Debian's hardening;
# - the Debian package built as the README says (scripts/build-package.sh:
#   `dpkg-buildpackage -us -uc -b` in a clean copy of the sources), its tests
#   run in dh_auto_test, and held to lintian --pedantic (no error, no
#   warning) and hardening-check;
# - that package installed with apt, started from /usr/bin on a virtual X
#   server (at the usual pixel density and at twice it) and purged again.
# Replaces an installed same-height package.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/project.sh
source scripts/lib/source-copy.sh
source scripts/lib/x11.sh
started=$SECONDS

version=$SAME_HEIGHT_VERSION
id=$SAME_HEIGHT_DESKTOP_ID
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

# Debian's checks, control-flow protection aside: Debian 12's C start files
# are built without it, so no program of it has it.
check_hardening() {
  hardening-check --nocfprotection "$1" || fail "$1 is not hardened"
}

cmake -S . -B "$build/release" -DCMAKE_BUILD_TYPE=Release \
  -DSAME_HEIGHT_BUILD_TESTS=OFF -DSAME_HEIGHT_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build/release" -j "$(nproc)" >/dev/null

echo "--- cmake --install"
stage=$PWD/$build/stage
rm -rf "$stage"
cmake --install "$build/release" --prefix "$stage" >/dev/null
hicolor=share/icons/hicolor
for file in bin/same-height share/man/man1/same-height.1 share/applications/$id.desktop \
  share/metainfo/$id.metainfo.xml $hicolor/scalable/apps/$id.svg \
  $hicolor/48x48/apps/$id.png $hicolor/128x128/apps/$id.png; do
  [ -f "$stage/$file" ] || fail "cmake --install did not install $file"
  echo "$file"
done
[ -x "$stage/bin/same-height" ] || fail "bin/same-height is not executable"
for png in "$stage/$hicolor"/*x*/apps/$id.png; do
  size=${png#"$stage/$hicolor/"}
  size=${size%%/*}
  file "$png" | grep -q "PNG image data, ${size/x/ x }," || fail "$png is not a $size PNG"
done

echo "--- hardening-check (Release build)"
check_hardening "$stage/bin/same-height"

echo "--- desktop-file-validate"
desktop-file-validate "$stage/share/applications/$id.desktop"
grep -qx "Icon=$id" "$stage/share/applications/$id.desktop" || fail "the desktop entry names another icon"
echo "no errors"
echo "--- appstreamcli validate --no-net"
appstreamcli validate --no-net "$stage/share/metainfo/$id.metainfo.xml"
grep -q "<release version=\"$version\"" "$stage/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo has no release $version"

echo "--- dpkg-buildpackage -us -uc -b, with the tests (scripts/build-package.sh)"
dpkg-parsechangelog -l debian/changelog -S Version | grep -qx "$version" ||
  fail "debian/changelog's latest version is not $version"
log=$build/build-package.log
env -u DEB_BUILD_OPTIONS scripts/build-package.sh >"$log" 2>&1 || {
  tail -n 80 "$log"
  fail "the package did not build (the whole log: $log)"
}
grep -E '^100% tests passed, 0 tests failed out of [1-9]' "$log" || fail "dh_auto_test ran no tests"
arch=$(dpkg --print-architecture)
deb=$build/deb/same-height_${version}_$arch.deb  # where build-package.sh puts it
[ -f "$deb" ] || fail "dpkg-buildpackage made no $deb"
dpkg-deb --field "$deb" Package Version Depends Recommends
[ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
# Computed by dpkg-shlibdeps from the executable, not listed by hand.
[[ "$(dpkg-deb --field "$deb" Depends)" == *libqt6widgets6* ]] || fail "no Qt dependency computed"
# The icon comes as PNGs inside the program: no SVG library.
[[ "$(dpkg-deb --field "$deb" Depends)" != *libqt6svg* ]] || fail "the package depends on Qt's SVG library"

echo "--- lintian --pedantic, on the binary package and on the source package"
rm -rf "$build/source"
copy_tracked_files "$build/source/same-height"
(cd "$build/source" && dpkg-source --build same-height >/dev/null)
lintian --pedantic --display-info --fail-on error,warning \
  "$build/deb/same-height_${version}_$arch.changes" "$build/source/same-height_$version.dsc" ||
  fail "lintian found an error or a warning"
echo "no errors, no warnings"

echo "--- apt-get install"
"${apt[@]}" install "./$deb" >/dev/null
[ "$(dpkg-query -W -f='${Version}' same-height)" = "$version" ] || fail "apt installed another version"
[ "$(dpkg -S /usr/bin/same-height | cut -d: -f1)" = same-height ] || fail "/usr/bin/same-height is not the package's"
dpkg -L same-height | while read -r path; do if [ -f "$path" ]; then echo "$path"; fi; done
echo "--- hardening-check (installed program)"
check_hardening /usr/bin/same-height

echo "--- the installed program on a virtual X server"
start_virtual_display
for scale in 1 2; do
  env -u QT_QPA_PLATFORM QT_SCALE_FACTOR=$scale /usr/bin/same-height 2>/dev/null &
  program=$!
  window=$(wait_for_window Form2)
  size=$(window_size "$window")
  expected="$((FORM2_WIDTH * scale))x$((FORM2_HEIGHT * scale))"
  [ "$size" = "$expected" ] || fail "Form2 is $size at scale $scale, not $expected"
  icons=$(xprop -id "$window" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | wc -l)
  [ "$icons" -gt 0 ] || fail "Form2 has no window icon"
  # Its icon is built in as pixels: no image file read, so no image format
  # plug-in and no SVG library loaded.
  ! grep -q -E 'libQt6Svg|/imageformats/' "/proc/$program/maps" ||
    fail "the program loaded Qt's SVG library or an image format plug-in at start"
  echo "scale $scale: Form2 mapped, $size pixels, its icon at $icons sizes, no SVG library loaded"
  kill "$program"
  wait "$program" 2>/dev/null || true
  program=
done
stop_virtual_display

echo "--- apt-get remove --purge"
"${apt[@]}" remove --purge same-height >/dev/null
[ ! -e /usr/bin/same-height ] || fail "/usr/bin/same-height is still there after removal"
echo "removed"
echo "Package stage: $((SECONDS - started)) s"
