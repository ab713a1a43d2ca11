#!/usr/bin/env bash
# Prints the packages named in the given lists under scripts/packages/,
# without their comments.
set -euo pipefail
here=$(dirname "$0")/packages
for list in "$@"; do sed -e 's/#.*//' "$here/$list.txt"; done | xargs
