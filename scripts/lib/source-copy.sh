# Copies the source tree as a fresh clone would have it, for builds that must
# not see anything else of the working tree (build folders, stray files).
# Source it from the root of the sources.

# Copies into DIR, emptied first, the files git tracks as they stand in the
# working tree (so changes not yet committed are built too); in sources that
# are not a git checkout of their own (an unpacked copy), every file but
# those under build/. The files get the permissions the current umask gives
# and the current time, as a checkout does.
copy_tracked_files() {
  local into=$1
  rm -rf "$into"
  mkdir -p "$into"
  if [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$PWD" ]; then
    git ls-files -z
  else
    find . -path ./build -prune -o ! -type d -printf '%P\0'
  fi | tar --create --null --files-from=- --file=- |
    tar --extract --no-same-permissions --touch --directory="$into" --file=-
}

# The time of the last commit, which reproducible builds take for every time
# they would otherwise write (SOURCE_DATE_EPOCH); the time already set, if
# any, and none outside a git checkout (dpkg then takes the changelog's).
last_commit_time() {
  if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    echo "$SOURCE_DATE_EPOCH"
  elif [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$PWD" ]; then
    git log -1 --format=%ct
  fi
}
