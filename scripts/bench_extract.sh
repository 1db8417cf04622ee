#!/usr/bin/env bash
# Extraction benchmark: extracts a generated archive set (about 200 MiB in
# 3200 files in nested folders, 8 ZIP archives) with our extraction program (reredodi_cli),
# with `bsdtar -xf` and with `unzip -o`, on this machine in one run, and
# prints each one's best time of three, its ratio to the faster peer and its
# peak memory. Every tool must extract the same number of files. Usage: scripts/bench_extract.sh [MIB]. Not part of the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure_packages.sh
ensure_packages libarchive-tools unzip time

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j 2 --target reredodi_cli make_bench_archives >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/set"
build/tools/make_bench_archives "$work/set" "${1:-200}"
cat "$work/set"/*.zip >/dev/null  # into the page cache for every tool alike
echo "archive set: $(du -sh "$work/set" | cut -f1) in $(ls "$work/set" | wc -l) archives"

ours="$PWD/build/tools/reredodi_cli"
extract() {  # TOOL ARCHIVE DEST
  case "$1" in
  reredodi) "$ours" "$2" "$3" ;;
  bsdtar) bsdtar -xf "$2" -C "$3" ;;
  unzip) unzip -o -qq "$2" -d "$3" ;;
  esac
}
export -f extract
export ours

declare -A best mem
for round in 1 2 3; do
  for tool in reredodi bsdtar unzip; do
    rm -rf "$work/out" && mkdir "$work/out" && sync
    /usr/bin/time -f "%e %M" -o "$work/time" bash -c \
      'for a in "$1"/*.zip; do extract "$2" "$a" "$3"; done' _ "$work/set" "$tool" "$work/out"
    read -r seconds kib <"$work/time"
    count=$(find "$work/out" -type f | wc -l)
    [ "$count" -eq "$(cat "$work/expected" 2>/dev/null || echo "$count")" ] ||
      { echo "$tool extracted $count files, not $(cat "$work/expected")" >&2; exit 1; }
    echo "$count" >"$work/expected"
    if [ -z "${best[$tool]:-}" ] || awk "BEGIN{exit !($seconds < ${best[$tool]})}"; then
      best[$tool]=$seconds
    fi
    if [ -z "${mem[$tool]:-}" ] || [ "$kib" -gt "${mem[$tool]}" ]; then mem[$tool]=$kib; fi
  done
done
echo "files extracted per run, by every tool: $(cat "$work/expected")"

peer=$(awk "BEGIN{print (${best[bsdtar]} < ${best[unzip]}) ? ${best[bsdtar]} : ${best[unzip]}}")
printf '%-10s %9s %8s %12s\n' tool seconds ratio "peak MiB"
for tool in reredodi bsdtar unzip; do
  awk -v t="$tool" -v s="${best[$tool]}" -v p="$peer" -v k="${mem[$tool]}" \
    'BEGIN{printf "%-10s %9.2f %8.2f %12.1f\n", t, s, s / p, k / 1024}'
done
