#!/usr/bin/env bash
# Installs what is missing and builds the Debian package with Debian's own
# tools (debian/), from a clean copy of the sources, running every test on
# the way: build/package/deb/same-height_VERSION_ARCH.deb, whose path it
# prints last. DEB_BUILD_OPTIONS=nocheck builds it without the tests.
# Builds are reproducible: the time they record is that of the last commit.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/project.sh
source scripts/lib/source-copy.sh

# Build-Depends of debian/control: the build, test and program-test lists.
scripts/install-packages.sh $(scripts/packages.sh build test program-tests package)

out=build/package/deb
rm -rf "$out"
copy_tracked_files "$out/same-height"
SOURCE_DATE_EPOCH=$(last_commit_time)
[ -z "$SOURCE_DATE_EPOCH" ] || export SOURCE_DATE_EPOCH
DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:-} parallel=$(nproc)"
export DEB_BUILD_OPTIONS
profiles=()
[[ " $DEB_BUILD_OPTIONS " != *" nocheck "* ]] || profiles=(-Pnocheck)
(cd "$out/same-height" && dpkg-buildpackage -us -uc -b "${profiles[@]}")
echo "$PWD/$out/same-height_${SAME_HEIGHT_VERSION}_$(dpkg --print-architecture).deb"
