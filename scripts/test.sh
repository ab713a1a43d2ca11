#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test. Each stage in
# scripts/test-stages/ runs in turn; the last is the main build's ctest run.
set -euo pipefail
cd "$(dirname "$0")/.."

# Lists of 32-bit (*-i386) packages need the i386 architecture: the stages
# that use them add it and install them.
lists=$(ls scripts/packages/*.txt | grep -v -- '-i386\.txt$' | xargs -n1 basename | sed 's/\.txt$//')
scripts/install-packages.sh $(scripts/packages.sh $lists)

for stage in scripts/test-stages/*.sh; do
  echo "=== ${stage#scripts/test-stages/}"
  bash "$stage"
done
