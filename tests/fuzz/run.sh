#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds on a seed corpus written by our own
# encoders. Usage: tests/fuzz/run.sh BUILD_DIR SECONDS
# (BUILD_DIR configured with CC=clang CXX=clang++ cmake -DPLONKIX_FUZZ=ON -DPLONKIX_GAME=OFF.)
set -euo pipefail
build=${1:?usage: run.sh BUILD_DIR SECONDS}
seconds=${2:?usage: run.sh BUILD_DIR SECONDS}
fuzz_dir=$build/tests/fuzz
corpus=$build/fuzz-corpus
[ -x "$fuzz_dir/fuzz_seeds" ] || { echo "no fuzz build in $build" >&2; exit 2; }
mkdir -p "$corpus"
"$fuzz_dir/fuzz_seeds" "$corpus/seeds"

status=0
# The replays recorded by the game and kept as regression data seed the replay reader.
mkdir -p "$corpus/seeds/replay"
cp "$(dirname "$0")"/../replay/data/*.plx "$corpus/seeds/replay/" 2> /dev/null || true

for target in picture animation config highscores replay; do
  mkdir -p "$corpus/$target"
  echo "== fuzz_$target for ${seconds} s"
  if ! "$fuzz_dir/fuzz_$target" -max_total_time="$seconds" -max_len=70000 -timeout=10 \
      -artifact_prefix="$corpus/crash-$target-" -print_final_stats=1 \
      "$corpus/$target" "$corpus/seeds/$target" > "$corpus/$target.log" 2>&1; then
    echo "fuzz_$target FAILED:"
    tail -n 40 "$corpus/$target.log"
    status=1
  else
    grep -E '^stat::(number_of_executed_units|new_units_added)|^#[0-9]+.*DONE' "$corpus/$target.log" |
      tr '\n' ' '
    echo
  fi
done
exit $status
