# Copies the source tree as a fresh clone would have it, for builds that must
# not see anything else of the working tree (build folders, stray files).
# Source it from the repository root.

# Copies every file git tracks, as it stands in the working tree (so changes
# not yet committed are built too), into DIR, emptied first. The files get
# the permissions the current umask gives, as a checkout does.
copy_tracked_files() {
  local into=$1
  rm -rf "$into"
  mkdir -p "$into"
  git ls-files -z | tar --create --null --files-from=- --file=- |
    tar --extract --no-same-permissions --directory="$into" --file=-
}

# The time of the last commit, which reproducible builds take for every time
# they would otherwise write (SOURCE_DATE_EPOCH).
last_commit_time() {
  git log -1 --format=%ct
}
