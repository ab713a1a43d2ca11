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
folders=("$root/first" "$root/second/one-level-deeper")
umasks=(022 002)
deb=build/package/deb/same-height_${SAME_HEIGHT_VERSION}_$(dpkg --print-architecture).deb
exe=build/windows-release/bin/same-height.exe
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(last_commit_time)

fail() {
  echo "50-reproducible: $*" >&2
  exit 1
}

# Builds both in a clean copy of the sources with the copy's own build
# scripts, the ones the README gives, under the given umask.
build_in() { # FOLDER UMASK
  local folder=$1
  (
    umask "$2"
    copy_tracked_files "$folder"
    cd "$folder"
    DEB_BUILD_OPTIONS=nocheck scripts/build-package.sh >build-package.log 2>&1 ||
      { tail -n 40 build-package.log >&2; exit 1; }
    scripts/build-windows.sh >build-windows.log 2>&1 ||
      { tail -n 40 build-windows.log >&2; exit 1; }
  ) || fail "the builds in $folder failed"
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
for i in 0 1; do
  echo "--- build $((i + 1)): umask ${umasks[$i]}, in ${folders[$i]#"$PWD/"}"
  build_in "${folders[$i]}" "${umasks[$i]}"
done
compare "${deb##*/}" "${folders[0]}/$deb" "${folders[1]}/$deb"
compare "${exe##*/}" "${folders[0]}/$exe" "${folders[1]}/$exe"
echo "Reproducibility stage: $((SECONDS - started)) s"
