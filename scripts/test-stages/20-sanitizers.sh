#!/usr/bin/env bash
# Every test, the GUI tests on the offscreen platform included, built with
# AddressSanitizer (LeakSanitizer with it) and UndefinedBehaviorSanitizer and
# run through ctest. Any finding ends its test with a failure; the whole run
# of the program (WholeRun.*) must close without a leak of the program's own.
# The suppression files in tests/sanitizers/ cover third-party code only.
set -euo pipefail
cd "$(dirname "$0")/../.."
suppressions=$(pwd)/tests/sanitizers
# The build runs the test programs to list their tests, so these hold there too.
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:strict_string_checks=1:suppressions=$suppressions/asan.supp"
export LSAN_OPTIONS="suppressions=$suppressions/lsan.supp:print_suppressions=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

cmake -S . -B build/sanitizers -DCMAKE_BUILD_TYPE=Debug -DSAME_HEIGHT_SANITIZERS=ON \
  -DSAME_HEIGHT_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/sanitizers -j "$(nproc)"
# The Wayland run is checked for memory errors but not for leaks: Qt 6.4's
# Wayland plug-in leaves its protocol objects to the process's end, with the
# clipboard and selection data they hold, and the unwound stacks of those
# blocks show no frame that tells them from the program's own.
wayland='^program\.user_actions\.wayland$'
ctest --test-dir build/sanitizers --output-on-failure -j "$(nproc)" -E "$wayland"
ASAN_OPTIONS=${ASAN_OPTIONS/detect_leaks=1/detect_leaks=0} \
  ctest --test-dir build/sanitizers --output-on-failure -R "$wayland"
