#!/usr/bin/env bash
# Runs every fuzz target of a build tree over its kept corpus for a total time budget (seconds),
# shared between the targets. New inputs go to a scratch folder, so the kept corpus only changes by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
tree=${1:-build-asan}
total=${2:-60}
shopt -s nullglob
targets=("$tree"/fuzz/fuzz_*)
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets in $tree"; exit 0; }
each=$(( total / ${#targets[@]} ))
[ "$each" -ge 5 ] || each=5
for t in "${targets[@]}"; do
  name=$(basename "$t"); name=${name#fuzz_}
  corpus=fuzz/corpus/$name
  mkdir -p "$corpus"
  scratch=$(mktemp -d)
  echo "fuzzing $name for ${each}s"
  "$t" -max_total_time="$each" -print_final_stats=1 "$scratch" "$corpus" 2>&1 | tail -n 12
  rm -rf "$scratch"
done
