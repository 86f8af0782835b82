#!/usr/bin/env bash
# Sets up everything that is missing, builds the game and its data, and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh game
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j2 --target plonkix dataset
cd build/game
exec ./plonkix
