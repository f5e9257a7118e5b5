#!/usr/bin/env bash
# Builds the game and its tests twice (plain, and with AddressSanitizer and UndefinedBehaviorSanitizer
# under clang, which also builds the fuzz targets) and runs the whole suite in both, under a virtual
# X server so that the tests that open a real window have one, then gives each fuzz target a short run.
# First of all no include may climb a layer (every build checks it as well).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/check-layers.sh
scripts/deps.sh

jobs=$(nproc)
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)

cmake -S . -B build "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"

cmake -S . -B build-asan "${gen[@]}" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DVANTREL_SANITIZE=ON -DVANTREL_FUZZ=ON
cmake --build build-asan -j "$jobs"

export SDL_AUDIODRIVER=dummy
export VANTREL_REQUIRE_DISPLAY=1
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build --output-on-failure -j "$jobs"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build-asan --output-on-failure -j "$jobs"

# Twenty seconds of random input to the sanitized game: no crash, no sanitizer report.
build-asan/tools/vantrel_monkey --seed "${MONKEY_SEED:-1}" --seconds 20 --report 10

scripts/fuzz.sh build-asan "${FUZZ_SECONDS:-60}"
