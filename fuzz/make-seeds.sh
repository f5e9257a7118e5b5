#!/usr/bin/env bash
# Seeds the corpora of the fuzz targets that read world data from real content, and keeps them small:
#   fuzz/make-seeds.sh BUILD FUZZBUILD
# BUILD is a plain build (its databases, vantrel_fuzzseeds and vantrel_replay), FUZZBUILD a sanitized
# fuzz build (-DVANTREL_FUZZ=ON). The seeds come from the builder's databases, the saved games of the
# played session (tests/session/first-steps.txt replayed) and the compiled scripts in the base world;
# libFuzzer's -merge=1 then adds to fuzz/corpus/<target>/ only the seeds that add coverage.
set -euo pipefail
build=$(cd "${1:?usage: make-seeds.sh BUILD FUZZBUILD}" && pwd)
fuzzbuild=$(cd "${2:?usage: make-seeds.sh BUILD FUZZBUILD}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The played session leaves its saved games (the slot it saves to and the automatic save) behind.
"$build/tools/vantrel_replay" --data "$build" --folder "$work/session" "$root/tests/session/first-steps.txt" >/dev/null
"$build/tools/vantrel_fuzzseeds" --out "$work/seeds" --saves "$work/session" \
  "$build/VantrelBase.pdb" "$build/VantrelEmber.pdb"

for target in world_loader rule_records saved_game script_engine map_objects; do
  [ -d "$work/seeds/$target" ] || continue
  before=$(ls "$root/fuzz/corpus/$target" | wc -l)
  "$fuzzbuild/fuzz/fuzz_$target" -merge=1 -rss_limit_mb=4096 -max_len=1048576 \
    "$root/fuzz/corpus/$target" "$work/seeds/$target" >/dev/null 2>&1
  echo "$target: $before -> $(ls "$root/fuzz/corpus/$target" | wc -l) files," \
    "$(du -sk "$root/fuzz/corpus/$target" | cut -f1) KB"
done
