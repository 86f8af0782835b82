#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds, seeded with files of a generated data
# set and the replays kept as regression data. Usage: tests/fuzz/run.sh BUILD_DIR SECONDS DATA_DIR
# (BUILD_DIR configured with CC=clang CXX=clang++ cmake -DPLONKIX_FUZZ=ON -DPLONKIX_GAME=OFF;
# DATA_DIR the data/ of a normal build.)
set -euo pipefail
usage="usage: run.sh BUILD_DIR SECONDS DATA_DIR"
build=${1:?$usage}
seconds=${2:?$usage}
data=${3:?$usage}
fuzz_dir=$build/tests/fuzz
corpus=$build/fuzz-corpus
[ -x "$fuzz_dir/fuzz_picture" ] || { echo "no fuzz build in $build" >&2; exit 2; }
[ -f "$data/plonkix.p23" ] || { echo "no generated data set in $data" >&2; exit 2; }

# Seeds: small and large pictures, every animation, the starting records, every kept replay.
seeds=$corpus/seeds
rm -rf "$seeds"
mkdir -p "$seeds"/{picture,animation,config,highscores,replay}
cp "$data"/plonkix.p{00,02,12,15} "$seeds/picture/"
cp "$data"/plonkix.f0? "$seeds/animation/"
cp "$data/plonkix.cfg" "$seeds/config/"
cp "$data/plonkix.hig" "$seeds/highscores/"
# The table and the results of one more player (name length and name, score, beans).
{ cat "$data/plonkix.hig"; printf '\x04abcde\x00\x30\0\0\0\0\0\0\x05\0\0\0'; } > "$seeds/highscores/entry"
cp "$(dirname "$0")"/../replay/data/*.plx "$seeds/replay/"

status=0
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
