#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test. Each stage in
# scripts/test-stages/ runs in turn; the last is the main build's ctest run.
set -euo pipefail
cd "$(dirname "$0")/.."

lists=$(ls scripts/packages/*.txt | xargs -n1 basename | sed 's/\.txt$//')
scripts/install-packages.sh $(scripts/packages.sh $lists)

for stage in scripts/test-stages/*.sh; do
  echo "=== ${stage#scripts/test-stages/}"
  bash "$stage"
done
