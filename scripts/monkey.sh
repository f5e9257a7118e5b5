#!/usr/bin/env bash
# Runs the random-input monkey (tools/monkey) on the sanitized game for N minutes (default 30) and
# keeps its input as a replayable log: after a crash or a sanitizer report,
#   build-asan/tools/vantrel_replay monkey-<seed>.txt
# plays the same input again. Usage: scripts/monkey.sh [MINUTES] [SEED] [TREE]
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-30}
seed=${2:-$(date +%s)}
tree=${3:-build-asan}
[ -x "$tree/tools/vantrel_monkey" ] || cmake --build "$tree" --target vantrel_monkey vantrel_databases
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
log=${MONKEY_LOG:-$tree/monkey-$seed.txt}
echo "monkey: $minutes min, seed $seed, input log $log"
"$tree/tools/vantrel_monkey" --seed "$seed" --seconds $((minutes * 60)) --report 60 --log "$log"
