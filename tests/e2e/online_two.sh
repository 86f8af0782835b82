#!/usr/bin/env bash
# Two programs on this machine play online under the headless backend (plonkix-online), each in
# its own copy of the game directory, host and joiner. Scenarios: direct (two matches), relay
# (250 ms each way, 5 % lost), kill (the joiner mid-match), version, outofstep (the joiner's
# state changed mid-match), hostile (the joiner asks for a match out of turn).
#   online_two.sh SCENARIO GAMEDIR DRIVER RELAY SIMULATOR
set -uo pipefail
scenario=$1
game=$2
driver=$3
relay=$4
sim=$5
[ -x "$driver" ] && [ -f "$game/data/plonkix.cfg" ] || { echo "no game in $game"; exit 77; }

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -9 "$pid" 2> /dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  for side in host join; do
    [ -f "$work/$side.out" ] && { echo "-- $side:"; cat "$work/$side.out" "$work/$side.err"; }
  done
  exit 1
}

port=$((20000 + RANDOM % 20000))
cp -r "$game" "$work/host"
cp -r "$game" "$work/join"
# The joiner's player 1 is someone else: name "jojo", drop speed 2, beans to link 5.
printf '\x04\x00\x00\x00jojo\x00' | dd of="$work/join/data/plonkix.cfg" bs=1 seek=28 conv=notrunc 2> /dev/null
printf '\x02\x00\x00\x00\x05\x00\x00\x00' | dd of="$work/join/data/plonkix.cfg" bs=1 seek=40 conv=notrunc 2> /dev/null
cp "$work/host/data/plonkix.cfg" "$work/host.cfg"
cp "$work/join/data/plonkix.cfg" "$work/join.cfg"

# start SIDE ARGS...: runs the driver in that side's directory.
start() {
  local side=$1
  shift
  (cd "$work/$side" && exec "$driver" "$@" > "$work/$side.out" 2> "$work/$side.err") &
  pids+=($!)
  eval "${side}_pid=$!"
}
# finish SIDE SECONDS: the side must end with status 0 within SECONDS.
finish() {
  local pid_var=${1}_pid status
  for _ in $(seq $(($2 * 10))); do kill -0 "${!pid_var}" 2> /dev/null || break; sleep 0.1; done
  kill -0 "${!pid_var}" 2> /dev/null && fail "$1 did not end within $2 s"
  wait "${!pid_var}"
  status=$?
  [ "$status" = 0 ] || fail "$1 ended with status $status"
  sed 's/^/   '"$1"': /' "$work/$1.out"
}
says() { grep -q "plonkix: $2" "$work/$1.err" || fail "$1 did not say: $2"; }
replays() { ls "$work/$1/data/replays"/*.plx 2> /dev/null; }

# check_replays N: each side kept N replays; every one reproduces; the two of a match hold the
# same bytes but for the animation each machine showed (offset 152) and so the checksum.
check_replays() {
  local host_files join_files i a b
  mapfile -t host_files < <(replays host)
  mapfile -t join_files < <(replays join)
  [ "${#host_files[@]}" = "$1" ] && [ "${#join_files[@]}" = "$1" ] ||
    fail "expected $1 replays on each side, found ${#host_files[@]} and ${#join_files[@]}"
  for i in $(seq 0 $(($1 - 1))); do
    a=$("$sim" --replay "${host_files[$i]}") || fail "host replay $i: $a"
    b=$("$sim" --replay "${join_files[$i]}") || fail "joiner replay $i: $b"
    echo "   $a"
    cmp -s <(head -c 152 "${host_files[$i]}"; tail -c +154 "${host_files[$i]}" | head -c -8) \
      <(head -c 152 "${join_files[$i]}"; tail -c +154 "${join_files[$i]}" | head -c -8) ||
      fail "the two replays of match $((i + 1)) differ"
  done
  # Player 2's options in the replay are the joiner's: name jojo, beans to link 5.
  [ "$(od -An -c -j 126 -N 8 "${host_files[0]}" | tr -d ' ')" = '004\0\0\0jojo' ] ||
    fail "player 2 is not the joiner's player in the host's replay"
  [ "$(od -An -tu4 -j 142 -N 4 "${host_files[0]}" | tr -d ' ')" = 5 ] ||
    fail "player 2 does not play with the joiner's beans to link"
}
own_files_kept() {
  cmp -s "$work/host/data/plonkix.cfg" "$work/host.cfg" || fail "the host's plonkix.cfg changed"
  cmp -s "$work/join/data/plonkix.cfg" "$work/join.cfg" || fail "the joiner's plonkix.cfg changed"
  for side in host join; do
    [ "$(stat -c %s "$work/$side/data/plonkix.hig")" = 380 ] || fail "$side's plonkix.hig is not whole"
  done
}

case $scenario in
  direct)
    # The joiner falls far behind in the last match's results: the host leaves before they end.
    start host --host "$port" --matches 2 --seed 11
    start join --join "127.0.0.1:$port" --seed 12 --slow-results 2
    finish host 150
    finish join 20
    says join "opponent left"
    [ -s "$work/host.err" ] && fail "the host, which ended the session, said something"
    grep -q " 2 matches;" "$work/host.out" || fail "the host did not play two matches"
    check_replays 2
    own_files_kept
    ;;
  relay)
    relay_port=$((port + 1))
    "$relay" "$relay_port" "$port" 250 5 200 5 > "$work/relay.out" &
    pids+=($!)
    start host --host "$port" --matches 1 --seed 21 --limit-seconds 200
    start join --join "127.0.0.1:$relay_port" --seed 22 --limit-seconds 200
    finish host 200
    finish join 30
    check_replays 1
    ;;
  kill)
    start host --host "$port" --seed 31
    start join --join "127.0.0.1:$port" --seed 32
    for _ in $(seq 300); do grep -q playing "$work/join.out" && break; sleep 0.1; done
    grep -q playing "$work/join.out" || fail "the match did not start"
    sleep 2
    kill -9 "$join_pid"
    killed=$(date +%s%N)
    until grep -q "opponent left" "$work/host.err"; do
      [ $(($(date +%s%N) - killed)) -gt 5000000000 ] && fail "the host did not notice within 5 s"
      sleep 0.05
    done
    echo "   the host said \"opponent left\" $((($(date +%s%N) - killed) / 1000000)) ms after the kill"
    finish host 30
    [ -z "$(replays host)" ] || fail "the broken-off match left a replay"
    own_files_kept
    ;;
  version)
    start host --host "$port" --seed 41
    start join --join "127.0.0.1:$port" --seed 42 --version 999
    finish join 30
    finish host 30
    says join "the other side runs another version"
    says host "refused one of another version"
    ;;
  outofstep)
    start host --host "$port" --seed 51
    start join --join "127.0.0.1:$port" --seed 52 --corrupt-at-ms 1000
    finish host 60
    finish join 30
    says host "the two games went out of step"
    says join "the two games went out of step"
    [ -z "$(replays host)$(replays join)" ] || fail "a match out of step left a replay"
    ;;
  hostile)
    start host --host "$port" --seed 61
    start join --join "127.0.0.1:$port" --seed 62 --hostile
    finish host 30
    finish join 30
    says host "a bad packet from the opponent: a request for a match out of turn"
    says join "the opponent refused our packets"
    ;;
  *)
    echo "unknown scenario $scenario"
    exit 2
    ;;
esac
echo "online scenario $scenario passed"
