#!/usr/bin/env bash
# Builds the game for the browser into build-web/: our page, the JavaScript and WebAssembly of the
# game and the packed data set, a folder any static web host serves as it is. With --serve it
# also serves the folder on a local port and prints the address.
#   ./web.sh [--serve [PORT]]
set -euo pipefail
cd "$(dirname "$0")"
serve=no
port=8640
case "${1:-}" in
  "") ;;
  --serve) serve=yes; port=${2:-$port} ;;
  *) echo "usage: $0 [--serve [PORT]]" >&2; exit 2 ;;
esac
scripts/install-deps.sh web
jobs=2

# The data set comes from the native generator; only changed files are replaced, so an unchanged
# data set does not pack and link the game again.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j$jobs --target datagen
data=build-emscripten/game/data
rm -rf "$data.new"
build/tools/datagen/datagen "$data.new" > /dev/null
mkdir -p "$data"
for file in "$data.new"/*; do
  cmp -s "$file" "$data/${file##*/}" || cp "$file" "$data/"
done
rm -rf "$data.new"

# Debian's emscripten runs its JavaScript optimiser with the node on the PATH; a node that is not
# Debian's finds Debian's acorn only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
emcmake cmake -S . -B build-emscripten -DCMAKE_BUILD_TYPE=Release \
  -DPLONKIX_WEB_SITE="$PWD/build-web" -DPLONKIX_WEB_DATA="$PWD/$data" > /dev/null
cmake --build build-emscripten -j$jobs
echo "build-web/ is ready ($(du -sh build-web | cut -f1)): index.html, plonkix.js, plonkix.wasm, plonkix.data"

if [ "$serve" = yes ]; then
  echo "Play at http://127.0.0.1:$port/ (Ctrl+C stops the server)"
  exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web
fi
