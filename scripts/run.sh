#!/usr/bin/env bash
# Builds qov-setup and runs it. Until the demo CD exists, it plays the
# top-level sequence on an answer file that leaves the module menu at once.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure_packages.sh
ensure_packages

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"

machine=$(mktemp -d)
trap 'rm -rf "$machine"' EXIT
mkdir -p "$machine/d/AUTORUN/BIN" "$machine/c"
echo "demo" >"$machine/d/AUTORUN/BIN/setup.exe"
printf 'key 287\n' >"$machine/answers.txt"
cd "$machine/d/AUTORUN/BIN"
QOV_MACHINE="$machine" QOV_GUI_SCRIPT="$machine/answers.txt" QOV_TRACE="$machine/trace.jsonl" \
  "$OLDPWD/build/qov-setup" && status=0 || status=$?
cat "$machine/trace.jsonl"
exit $status
