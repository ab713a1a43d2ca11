#!/usr/bin/env bash
# libFuzzer: each fuzz target of tests/fuzz/ runs for about a minute (both at
# once, a core each), starting from the inputs kept in the repository. Any
# finding fails the stage; the input that broke is left in build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${FUZZ_SECONDS:-60}

CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSAME_HEIGHT_FUZZERS=ON \
  -DSAME_HEIGHT_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target val_fuzzer register_fuzzer

declare -A options=(
  [val]="-dict=tests/fuzz/val.dict"
  [register]="-max_len=512"
)
rm -rf build/fuzz/corpus build/fuzz/findings
mkdir -p build/fuzz/findings
fuzzers=(val register)
pids=()
for fuzzer in "${fuzzers[@]}"; do
  # A copy, so that what the run learns does not land in the repository.
  mkdir -p "build/fuzz/corpus/$fuzzer"
  cp "tests/fuzz/corpus/$fuzzer"/* "build/fuzz/corpus/$fuzzer/"
  # shellcheck disable=SC2086 # the options are words
  "build/fuzz/tests/fuzz/${fuzzer}_fuzzer" -max_total_time="$seconds" -timeout=10 \
    ${options[$fuzzer]} -artifact_prefix="build/fuzz/findings/$fuzzer-" \
    "build/fuzz/corpus/$fuzzer" >"build/fuzz/$fuzzer.log" 2>&1 &
  pids+=($!)
done

failed=0
for i in "${!fuzzers[@]}"; do
  fuzzer=${fuzzers[$i]}
  if wait "${pids[$i]}"; then
    echo "$fuzzer fuzzer: $(grep -E '^Done [0-9]+ runs' "build/fuzz/$fuzzer.log")"
  else
    failed=1
    echo "$fuzzer fuzzer FAILED:"
    tail -n 60 "build/fuzz/$fuzzer.log"
  fi
done
exit "$failed"
