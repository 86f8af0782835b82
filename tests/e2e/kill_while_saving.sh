#!/usr/bin/env bash
# Kills a program with SIGKILL at random moments while it saves the configuration and high-score
# files, many times over: each file must always be the old or the new version, never short.
set -euo pipefail
probe=$1
rounds=${2:-150}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/data"

"$probe" "$dir" save-forever & pid=$!
sleep 0.3
kill -KILL "$pid"; wait "$pid" 2>/dev/null || true
"$probe" "$dir" saves-whole

for ((i = 1; i <= rounds; i++)); do
  "$probe" "$dir" save-forever & pid=$!
  sleep "0.0$((RANDOM % 90 + 10))"
  kill -KILL "$pid"; wait "$pid" 2>/dev/null || true
  if ! "$probe" "$dir" saves-whole; then
    echo "round $i: a kill left a broken file"
    ls -l "$dir/data"
    exit 1
  fi
done
leftovers=$(find "$dir/data" -name '*.tmp' | wc -l)
echo "$rounds kills while saving: every file was whole ($leftovers temporary file(s) left behind by kills)"
