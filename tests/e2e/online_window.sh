#!/usr/bin/env bash
# Online play in real windows: two games on two Xvfb displays of this machine, driven through
# their keyboards with xdotool, from the waiting screen through a match to the after-game lists;
# the host's Escape there ends the session, the joiner says "opponent left", both end normally
# from the menu, and both replays reproduce with the same hash.
#   online_window.sh GAMEDIR PROBE SIMULATOR
set -uo pipefail
game=$1
probe=$2
sim=$3
source "$(dirname "$0")/xvfb.sh"
games=()
displays=()
cleanup() {  # the games first: a game must not lose its display while it still runs
  for pid in "${games[@]}"; do kill "$pid" 2> /dev/null && sleep 1; done
  for pid in "${displays[@]}"; do kill "$pid" 2> /dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  for side in host join; do
    [ -f "$work/$side.rgb" ] && convert -size 640x400 -depth 8 "rgb:$work/$side.rgb" "$shots/online-$side.png" 2> /dev/null &&
      echo "last screenshot of the $side: $shots/online-$side.png"
    [ -f "$work/$side.out" ] && { echo "-- $side:"; tail -n 20 "$work/$side.out"; }
  done
  exit 1
}
step() { echo "-- $*"; }

# display SIDE: a display of exactly the game's size for that side.
display() {
  start_xvfb 640x400 "$work/$1.display"
  displays+=("$xvfb_started")
  [ -s "$work/$1.display" ] || fail "Xvfb did not start"
  eval "${1}_display=$xvfb_display"
}
on() {  # on SIDE COMMAND...: runs a command against that side's display
  local var=${1}_display
  DISPLAY=${!var} "${@:2}"
}
start_game() {  # start_game SIDE ARGS...
  local side=$1 display=${1}_display window
  (cd "$work/$side" && DISPLAY=${!display} SDL_AUDIODRIVER=dummy exec ./plonkix "${@:2}" \
    > "$work/$side.out" 2>&1) &
  games+=($!)
  eval "${side}_pid=$!"
  for _ in $(seq 100); do
    window=$(on "$side" xdotool search --name '^PLONKIX$' 2> /dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || fail "no window for the $side"
  on "$side" xdotool windowfocus "$window" 2> /dev/null
}
press() {  # press SIDE KEY
  on "$1" xdotool keydown "$2"
  sleep 0.15
  on "$1" xdotool keyup "$2"
  sleep 0.15
}
shot() { on "$1" import -window root -depth 8 "rgb:$work/$1.rgb" 2> /dev/null; }
keep() {  # keep SIDE NAME: the side's last screenshot as NAME.png among the screenshots
  convert -size 640x400 -depth 8 "rgb:$work/$1.rgb" "$shots/online-$2.png" 2> /dev/null
}
expect() {  # expect SIDE SECONDS CHECK...
  local side=$1 deadline=$((SECONDS + $2))
  shift 2
  while :; do
    shot "$side"
    "$probe" "$work/$side" check "$work/$side.rgb" "$@" > "$work/probe.txt" 2>&1 && return 0
    [ $SECONDS -ge $deadline ] && { cat "$work/probe.txt"; fail "the $side did not show: $*"; }
    sleep 0.2
  done
}
running() { local pid=${1}_pid; kill -0 "${!pid}" 2> /dev/null; }
wait_exit() {  # wait_exit SIDE SECONDS
  local pid=${1}_pid
  for _ in $(seq $(($2 * 10))); do running "$1" || break; sleep 0.1; done
  running "$1" && fail "the $1 did not end"
  wait "${!pid}" || fail "the $1 ended with status $?"
}

background="picture:23:0:0:5,395;635,395;320,255;2,200;637,200;320,390"
port=$((20000 + RANDOM % 20000))
cp -r "$game" "$work/host"
cp -r "$game" "$work/join"
display host
display join

step "the host waits, the joiner connects"
start_game host --host "$port"
expect host 8 "text:3:320:120:online_play:22" "text:4:320:220:on_udp_port_$port:22"
keep host waiting
start_game join --join "127.0.0.1:$port"

step "the match on both screens, played to the results"
expect host 10 "$background"
expect join 10 "$background"
on host xdotool keydown d
on join xdotool keydown d
sleep 4
shot host
keep host playing-host
shot join
keep join playing-join
expect host 90 "text:3:320:20:killer_kings:02"
expect join 20 "text:3:320:20:killer_kings:02"
on host xdotool keyup d
on join xdotool keyup d

step "the host ends the session on its after-game page; the joiner is told"
press join space
press host Escape
expect join 12 "text:3:320:120:online_play:22" "text:4:320:190:opponent_left:22"
keep join message
grep -q "plonkix: opponent left" "$work/join.out" || fail "the joiner did not say so"

step "both back to the menu and out"
for side in host join; do
  for _ in 1 2 3 4 5 6; do press "$side" Escape; sleep 0.8; done
done
for side in host join; do
  for _ in 1 2 3 4 5 6; do running "$side" || break; press "$side" space; sleep 1; done
  wait_exit "$side" 10
done

step "both replays reproduce with the same hash"
host_replay=$(ls "$work/host/data/replays"/*.plx)
join_replay=$(ls "$work/join/data/replays"/*.plx)
a=$("$sim" --replay "$host_replay") || fail "$a"
b=$("$sim" --replay "$join_replay") || fail "$b"
echo "   $a"
echo "   $b"
[ "${a#*: }" = "${b#*: }" ] || fail "the two replays differ"
echo "online play in two windows passed"
