#!/usr/bin/env bash
# Installs the named Debian packages that are not installed yet, through
# apt-get (via sudo when not root). Packages already present are skipped, so
# a machine that has everything is not touched.
set -euo pipefail

missing=()
for package in "$@"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=900 update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq -o DPkg::Lock::Timeout=900 --no-install-recommends "${missing[@]}" >/dev/null
