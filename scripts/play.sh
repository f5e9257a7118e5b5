#!/usr/bin/env bash
# Installs what is needed, builds the game and its tools into build/ (the databases are written
# beside the executable, the tools go to build/tools/) and starts the game.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
cmake -S . -B build "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Every folder of tools/ is one program vantrel_<folder>.
targets=(vantrel)
for dir in tools/*/; do targets+=("vantrel_$(basename "$dir")"); done
cmake --build build -j "$(nproc)" --target "${targets[@]}"
exec build/vantrel "$@"
