#!/usr/bin/env bash
# Installs what is needed, builds the game into build/ (the databases are written beside the
# executable) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
cmake -S . -B build "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target vantrel
exec build/vantrel "$@"
