#!/usr/bin/env bash
# Every data file missing, cut short and corrupted in turn, with the whole program run headless
# from start-up to exit: it must either run to its normal end (status 0) or stop with a message
# that names the broken file and a non-zero status. A crash, a sanitizer report, a message that
# does not name the file, or a run that never ends fails the test.
set -uo pipefail
run=$1
data=$2
[ -f "$data/plonkix.p23" ] || { echo "no generated data set in $data"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
runs=0

# break FILE missing|truncated|corrupted: a fresh copy of the data set with FILE broken.
break_file() {
  rm -rf "$work/data"
  cp -r "$data" "$work/data"
  local target="$work/data/$1" size
  size=$(stat -c %s "$target")
  case $2 in
    missing) rm "$target" ;;
    truncated) truncate -s $((size / 2)) "$target" ;;
    corrupted)  # 64 bytes of noise in the middle of the file
      head -c 64 /dev/urandom | dd of="$target" bs=1 seek=$((size / 2)) conv=notrunc status=none ;;
  esac
}

# try FILE MODE EXPECT SEEDS...: EXPECT is "end" (status 0), "stop" (a named fatal error),
# or "either"; with several seeds, "stop" asks that at least one run stops (the file is only
# read when the random choice picks it) and every other one ends normally.
try() {
  local file=$1 mode=$2 expect=$3 seed status stopped=0 outcome
  shift 3
  for seed in "$@"; do
    break_file "$file" "$mode"
    runs=$((runs + 1))
    (cd "$work" && timeout 300 "$run" --seed "$seed" --limit-minutes 30 > out.txt 2> err.txt)
    status=$?
    if grep -q -E 'Sanitizer|runtime error' "$work/err.txt"; then
      outcome="a sanitizer report"
    elif [ $status -eq 0 ]; then
      outcome=end
    elif [ $status -eq 1 ] && grep -q "data/$file" "$work/err.txt"; then
      outcome=stop
      stopped=1
    elif [ $status -eq 1 ]; then
      outcome="a message without the file name: $(head -c 200 "$work/err.txt")"
    elif [ $status -eq 3 ] || [ $status -eq 124 ]; then
      outcome="no end (a hang)"
    else
      outcome="status $status (a crash)"
    fi
    case "$expect:$outcome" in
      end:end | stop:stop | stop:end | either:end | either:stop) ;;
      *)
        echo "FAIL $file $mode (seed $seed): expected $expect, got $outcome"
        failures=$((failures + 1)) ;;
    esac
  done
  if [ "$expect" = stop ] && [ $stopped -eq 0 ]; then
    echo "FAIL $file $mode: no run stopped with a message naming it"
    failures=$((failures + 1))
  fi
}

seeds=(1 2 3 4 5 6 7 8)
for path in "$data"/*; do
  file=$(basename "$path")
  case $file in
    plonkix.w??)  # a sound that cannot be loaded is left out silently
      try "$file" missing end 1; try "$file" truncated end 1; try "$file" corrupted end 1 ;;
    scanmap)  # a short table leaves the missing symbols unmapped
      try "$file" missing stop 1; try "$file" truncated end 1; try "$file" corrupted either 1 ;;
    plonkix.f0? | plonkix.p19 | plonkix.p20)  # read only when the random choice picks them
      try "$file" missing stop "${seeds[@]}"; try "$file" truncated stop "${seeds[@]}"
      try "$file" corrupted either "${seeds[@]:0:3}" ;;
    plonkix.cfg | plonkix.hig)  # values are made safe on reading
      try "$file" missing stop 1; try "$file" truncated stop 1; try "$file" corrupted end 1 ;;
    *)
      try "$file" missing stop 1; try "$file" truncated stop 1; try "$file" corrupted either 1 ;;
  esac
done

echo "$runs runs over $(ls "$data" | wc -l) data files, $failures failure(s)"
[ $failures -eq 0 ]
