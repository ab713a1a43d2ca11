#!/usr/bin/env bash
# Reproducible builds: the Debian package and the Windows program, each built
# twice from clean copies of the sources, in folders of different names and
# depths and under umask 022 and 002, at the time of the last commit
# (SOURCE_DATE_EPOCH), must come out byte for byte the same. On a difference
# diffoscope shows where the two differ. The package is built without its
# tests here (DEB_BUILD_OPTIONS=nocheck): the package stage runs them.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/project.sh
source scripts/lib/source-copy.sh
started=$SECONDS

root=$PWD/build/reproducible
folders=(first "second/in a deeper folder")
umasks=(022 002)
arch=$(dpkg --print-architecture)
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(last_commit_time)

fail() {
  echo "50-reproducible: $*" >&2
  exit 1
}

# Builds in a subshell, so that the umask stays with the build.
build_deb() { # FOLDER UMASK
  local source="$root/deb/$1/same-height"
  (
    umask "$2"
    copy_tracked_files "$source"
    cd "$source"
    DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" dpkg-buildpackage -us -uc -b -Pnocheck \
      >../build.log 2>&1 || { tail -n 40 ../build.log >&2; exit 1; }
  ) || fail "the package did not build in $1"
  echo "$root/deb/$1/same-height_${SAME_HEIGHT_VERSION}_$arch.deb"
}

build_exe() { # FOLDER UMASK
  local source="$root/exe/$1/src"
  (
    umask "$2"
    copy_tracked_files "$source"
    cd "$source"
    cmake -S . -B build/windows-release --toolchain cmake/mingw-w64-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release -DSAME_HEIGHT_BUILD_TESTS=OFF >../build.log 2>&1 &&
      cmake --build build/windows-release --target same-height -j "$(nproc)" >>../build.log 2>&1 ||
      { tail -n 40 ../build.log >&2; exit 1; }
  ) || fail "the Windows program did not build in $1"
  echo "$root/exe/$1/src/build/windows-release/bin/same-height.exe"
}

compare() { # WHAT FIRST SECOND
  if cmp -s "$2" "$3"; then
    echo "$1: the same, $(stat -c %s "$2") bytes, sha256 $(sha256sum <"$2" | cut -c1-16)…"
  else
    echo "$1 differs between the two builds:"
    diffoscope --text - "$2" "$3" | head -n 200 || true
    fail "$1 is not reproducible"
  fi
}

rm -rf "$root"
echo "--- the Debian package, twice"
debs=()
for i in 0 1; do debs+=("$(build_deb "${folders[$i]}" "${umasks[$i]}")"); done
compare "same-height_${SAME_HEIGHT_VERSION}_$arch.deb" "${debs[@]}"

echo "--- the Windows program, twice"
exes=()
for i in 0 1; do exes+=("$(build_exe "${folders[$i]}" "${umasks[$i]}")"); done
compare same-height.exe "${exes[@]}"

echo "Reproducibility stage: $((SECONDS - started)) s"
