#!/usr/bin/env bash
# Static analysis: fails on unformatted code and on any clang-tidy finding
# (.clang-tidy holds the checks). clang-tidy reads the compile commands of
# the Linux build, so it sees every file that build compiles; the Win32
# backend, cross-compiled with MinGW-w64, is held to the compiler's
# warnings-as-errors in its own stage. The program's own code also gets the
# static analyzer's path checks; the tests and benchmarks skip them, as
# exploring every path through GoogleTest's and Google Benchmark's macros
# takes most of the time and finds only their own idioms.
set -euo pipefail
cd "$(dirname "$0")/../.."

echo "clang-format: every C++ file laid out as .clang-format says"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run -Werror

echo "clang-tidy: the compile commands of a clang++ configuration"
CXX=clang++ cmake -S . -B build/tidy -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
compiled() { # the given files that the compile commands name
  local file
  while IFS= read -r -d '' file; do
    if grep -qF "\"file\": \"$PWD/$file\"" build/tidy/compile_commands.json; then
      printf '%s\0' "$file"
    fi
  done
}
tidy() {
  xargs -0 -n1 -P "$(nproc)" clang-tidy-14 -p build/tidy --quiet "$@" 2>&1 |
    sed '/^[0-9]* warnings\? generated\.$/d'
}
git ls-files -z '*.cpp' ':!tests/' ':!bench/' | compiled | tidy
git ls-files -z 'tests/*.cpp' 'bench/*.cpp' | compiled | tidy --checks=-clang-analyzer-*
echo "static analysis: no findings"
