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
# One packet of each kind of online play: hello, start, ready, input (records, frames, a hash).
mkdir -p "$seeds/net"
printf '\x01\x01\x00\x05tiger\x02\x04' > "$seeds/net/hello"
printf '\x02\x02\x03%s' "$(printf '\x15\x7c\x4a\x7f\xb9\x79\x37\x9e%.0s' 1 2 3 4)" > "$seeds/net/start"
printf '\x04\x03' > "$seeds/net/ready"
printf '\x03\x01\x05\x00\x00\x00\x8b\x09\x00\x02\x00\x03\x11\x01\x00\x34\x12\x00\x00\x00\x00\x00\x00' > "$seeds/net/input"

status=0
for target in picture animation config highscores replay net; do
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
