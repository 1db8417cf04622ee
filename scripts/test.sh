#!/usr/bin/env bash
# Builds qov-setup and runs every test: once in build/, once in build-asan/
# with AddressSanitizer and UndefinedBehaviorSanitizer; then builds the
# libFuzzer targets in build-fuzz/ and runs each for a bounded time; then the
# Windows build under Wine (tests/windows/run_wine_suite.sh, which installs
# what it needs); and prints the reliability figures and one summary line.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure_packages.sh
ensure_packages

jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
# The fault scenarios add to the figures in this file (first run only).
figures="$PWD/build/figures.txt"
rm -f "$figures"
(cd build && QOV_FIGURES="$figures" ctest --output-on-failure -j "$jobs") | tee build/ctest.log

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQOV_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs") | tee build-asan/ctest.log

# Fuzzing: every target from its seed corpus (fuzz/corpus/<target>/, read
# only; new inputs go to build-fuzz/corpus/<target>/) for a fixed time.
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQOV_FUZZ=ON -DQOV_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz -j "$jobs"
fuzz_seconds=${QOV_FUZZ_SECONDS:-20}
fuzz_report=()
for target in register extraction answer_file command_line windows_names; do
  mkdir -p "build-fuzz/corpus/$target"
  log="build-fuzz/$target.log"
  if ! ASAN_OPTIONS=detect_leaks=1 "build-fuzz/fuzz/fuzz_$target" -max_total_time="$fuzz_seconds" \
      -artifact_prefix="build-fuzz/$target-" -print_final_stats=1 \
      "build-fuzz/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz_$target found a fault; the input is in build-fuzz/$target-*" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  fuzz_report+=("  fuzz executions, $target: $runs in ${fuzz_seconds}s")
done

# The Windows build under Wine; it ends with its own summary line.
tests/windows/run_wine_suite.sh | tee build/wine-suite.log
echo
echo "Reliability figures of this run:"
printf '%s\n' "${fuzz_report[@]}"
awk -F '\t' '{ sum[$1] += $2 } END { for (k in sum) printf "  %s: %d\n", k, sum[k] }' \
  "$figures" | sort

# One line for the whole run: the two test suites and the Wine checks.
summary() {
  sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests failed out of \([0-9]*\)$/\2 \1/p' \
    build/ctest.log build-asan/ctest.log
  sed -n 's/^Wine suite: passed: \([0-9]*\) checks.*/\1 0/p' build/wine-suite.log
}
summary | awk '{ passed += $1 - $2; failed += $2 } END { printf "tests: %d passed, %d failed\n", passed, failed }'
