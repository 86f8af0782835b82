#!/usr/bin/env bash
# Sets up everything that is missing, builds, and runs the whole test suite:
# the normal build with every test, the browser build played in headless Chromium, the unit and
# soak tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and a bounded run of
# each fuzzer.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test
jobs=2
fuzz_seconds=${PLONKIX_FUZZ_SECONDS:-30}

echo "== build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j$jobs
echo "== tests"
ctest --test-dir build --output-on-failure -j$jobs --timeout 900

echo "== the browser build, played in headless Chromium"
./web.sh
tests/web/browser_test.py build-web build-emscripten/game build/tests/e2e/e2e-probe \
  build/plonkix-headless build/plonkix-sim

echo "== tests under AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLONKIX_SANITIZE=ON -DPLONKIX_GAME=OFF \
  -DPLONKIX_DATASET=OFF -DPLONKIX_TEST_DATA_DIR="$PWD/build/game/data" > /dev/null
cmake --build build-asan -j$jobs
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j$jobs -L 'unit|soak|fault' --timeout 900

if [ -x tests/fuzz/run.sh ]; then
  echo "== fuzzers (${fuzz_seconds} s each)"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLONKIX_FUZZ=ON \
    -DPLONKIX_GAME=OFF -DPLONKIX_DATASET=OFF > /dev/null
  cmake --build build-fuzz -j$jobs --target fuzz_picture fuzz_animation fuzz_config fuzz_highscores \
    fuzz_replay fuzz_net
  tests/fuzz/run.sh build-fuzz "$fuzz_seconds" build/game/data
fi
echo "== all tests passed"
