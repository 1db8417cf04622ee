#!/usr/bin/env bash
# Builds qov-setup and runs every test: once in build/, once in build-asan/
# with AddressSanitizer and UndefinedBehaviorSanitizer; then the Windows
# build under Wine (tests/windows/run_wine_suite.sh), which installs what it
# needs and ends with its summary line.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure_packages.sh
ensure_packages

jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQOV_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs")

tests/windows/run_wine_suite.sh
