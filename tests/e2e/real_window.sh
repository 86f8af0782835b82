#!/usr/bin/env bash
# The real game in a real window under Xvfb, driven only through the keyboard with xdotool, as a
# new user would meet it. Screenshots are checked at every stage against chosen pixels in the
# colours the data set says must be there (the probe computes them from the data files, so the
# checks follow the art). Also: Alt+Enter during a match, closing the window during the intro,
# a run without an audio device, and Alt+F4. A match against the computer with random keys, a
# pause and Alt+Enter leaves a replay that the simulator reproduces and the game shows again.
# Player 1 on the mouse: the pointer moves and turns the pair, not inside the mouse delay.
# Then on a larger screen: the window's whole multiple, resizing, full screen and back, the mouse
# in the 2x window, --scale 1, a start without a display, a bad option.
#   real_window.sh GAMEDIR PROBE CLOSER SIMULATOR
set -uo pipefail
game=$1
probe=$2
closer=$3
sim=$4
source "$(dirname "$0")/xvfb.sh"
game_pid=
runner_pid=
xvfb_pid=
# The game first, and waited for: it must not lose its display while it is still ending.
stop_game() {
  [ -n "$game_pid" ] && kill "$game_pid" 2> /dev/null
  [ -n "$runner_pid" ] && wait "$runner_pid" 2> /dev/null
  game_pid=
  runner_pid=
}
cleanup() {
  stop_game
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  convert -size 640x400 -depth 8 "rgb:$work/shot.rgb" "$shots/failure.png" 2> /dev/null &&
    echo "last screenshot: $shots/failure.png"
  [ -f "$work/game.out" ] && { echo "game output:"; tail -n 20 "$work/game.out"; }
  exit 1
}
step() { echo "-- $*"; }

# start_display WxH: a fresh Xvfb of that size becomes DISPLAY.
start_display() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
  start_xvfb "$1" "$work/display"
  xvfb_pid=$xvfb_started
  [ -s "$work/display" ] || fail "Xvfb did not start"
  export DISPLAY=$xvfb_display
}

# A display of exactly the game's size, so a root screenshot is the game's picture.
start_display 640x400

cp -r "$game" "$work/game"
play_dir=$work/game

# launch [ENV=VALUE...] [-- ARG...]: starts the game in play_dir, with the arguments in game_args
# and ARG...; its status goes to work/status.
game_args=()
launch() {
  local envs=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do
    envs+=("$1")
    shift
  done
  [ "${1:-}" = -- ] && shift
  rm -f "$work/status" "$work/game.pid"
  (
    cd "$play_dir" || exit
    env "${envs[@]}" ./plonkix "${game_args[@]}" "$@" > "$work/game.out" 2>&1 &
    echo $! > "$work/game.pid"
    wait $!
    echo $? > "$work/status"
  ) &
  runner_pid=$!
  for _ in $(seq 50); do [ -s "$work/game.pid" ] && break; sleep 0.02; done
  game_pid=$(cat "$work/game.pid")
}

# start_game [ENV=VALUE...] [-- ARG...]: starts the game and waits for its window.
start_game() {
  launch "$@"
  window=
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^PLONKIX$' 2> /dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || fail "no window captioned PLONKIX appeared"
  xdotool windowfocus "$window" 2> /dev/null
  sleep 0.2
}

# press KEY [SECONDS]: holds a key long enough for the menus, which look every 98 ms.
press() {
  xdotool keydown "$1"
  sleep "${2:-0.15}"
  xdotool keyup "$1"
  sleep 0.15
}

# shot: the screen, or with shot_window set that window, as 640 x 400 RGB (sampled down from a
# whole multiple when shot_sample is set).
shot_window=root
shot_sample=
shot() {
  if [ -n "$shot_sample" ]; then
    import -window "$shot_window" png:- 2> /dev/null |
      convert - -sample 640x400 -depth 8 "rgb:$work/shot.rgb" 2> /dev/null
  else
    import -window "$shot_window" -depth 8 "rgb:$work/shot.rgb" 2> /dev/null
  fi
}

# expect SECONDS CHECK...: screenshots until every check holds, or fails after SECONDS.
expect() {
  local seconds=$1 deadline
  shift
  deadline=$((SECONDS + seconds))
  while :; do
    shot
    if "$probe" "$play_dir" check "$work/shot.rgb" "$@" > "$work/probe.txt" 2>&1; then
      sed 's/^/   /' "$work/probe.txt"
      return 0
    fi
    [ $SECONDS -ge $deadline ] && { cat "$work/probe.txt"; fail "the screen did not show: $*"; }
    sleep 0.2
  done
}

# marker_at Y...: prints the first of the given rows where the menu markers are shown.
marker_at() {
  local y
  shot
  for y in "$@"; do
    "$probe" "$play_dir" check "$work/shot.rgb" "marker:$y:22" > /dev/null 2>&1 && { echo "$y"; return; }
  done
}

# move_marker TARGET Y...: presses Up and Down until the markers stand at row TARGET, one of the
# rows Y... in screen order. Keys are read every 98 ms, so a press may count once or twice: look
# and correct, as a user does.
move_marker() {
  local target=$1 rows=("${@:2}") at i want have
  for i in "${!rows[@]}"; do [ "${rows[$i]}" = "$target" ] && want=$i; done
  for _ in $(seq 20); do
    at=$(marker_at "${rows[@]}")
    [ "$at" = "$target" ] && { echo "   markers at row $target"; return 0; }
    have=-1
    for i in "${!rows[@]}"; do [ "${rows[$i]}" = "$at" ] && have=$i; done
    if [ "$have" -lt 0 ]; then sleep 0.2; continue; fi
    if [ "$have" -lt "$want" ]; then press Down 0.07; else press Up 0.07; fi
    sleep 0.1
  done
  fail "the markers did not reach row $target"
}
menu_rows=(25 75 125 200 250 300 375)
option_rows=(79 101 123 145 167 189 211 255 277 299 321 343 365 387)

# wait_exit SECONDS [STATUS]: the game must end with STATUS (0) within SECONDS.
wait_exit() {
  for _ in $(seq $(($1 * 10))); do [ -s "$work/status" ] && break; sleep 0.1; done
  [ -s "$work/status" ] || fail "the game did not end"
  wait "$runner_pid" 2> /dev/null
  game_pid=
  runner_pid=
  [ "$(cat "$work/status")" = "${2:-0}" ] || fail "the game ended with status $(cat "$work/status")"
}

# skip_build_up: a key ends the menu's fly-in, another its logo zoom; then the choice shows.
skip_build_up() {
  sleep 1.5
  press space
  sleep 0.5
  press space
  expect 10 "marker:25:22"
}

# skip_intro: a key ends each of the intro's three pictures.
skip_intro() {
  sleep 1
  press space
  sleep 1
  press space
  sleep 1.5
  press space
}

# after_game: any key turns each of the two pages.
after_game() {
  expect 6 "text:3:320:20:killer_kings:02"
  press space
  expect 6 "text:3:320:20:combo_demons:02"
  press space
}

# nudge DX TIMES: the pointer put DX screen pixels right of the window's centre (left when
# negative) again and again, about once per input step (28 ms); the game reads it at its next
# input step and puts it back. A pair moves at most once per 16 ticks (224 ms).
nudge() {
  local x=$((320 * scale + $1)) args=() i
  for i in $(seq "$2"); do args+=(mousemove --window "$window" "$x" $((200 * scale)) sleep 0.02); done
  xdotool "${args[@]}"
}

# mouse_match: a single human match with player 1 on the mouse (mouse delay `delay`) in a window
# of the whole multiple `scale`: the pair follows the pointer and turns on a click; moves up to
# the mouse delay, in picture pixels, do nothing. The first pair falls for about ten seconds.
mouse_match() {
  skip_build_up
  press Return
  expect 8 "$background"
  xdotool mousemove --window "$window" $((320 * scale)) $((200 * scale))
  expect 10 "pair:1:3"
  nudge $(((delay + 10) * scale)) 25
  expect 3 "pair:1:5"
  nudge $((-delay * scale)) 25  # to the edge of the mouse delay: nothing
  sleep 0.3
  expect 1 "pair:1:5"
  nudge $((-(delay + 10) * scale)) 70
  expect 3 "pair:1:0"
  xdotool mousedown 1 sleep 0.1 mouseup 1
  expect 3 "pair:1:0,1"
  nudge $((delay * scale)) 25
  sleep 0.3
  expect 1 "pair:1:0,1"
}

# Chosen pixels of the game background that nothing covers during a match.
background="picture:23:0:0:5,395;635,395;320,255;2,200;637,200;320,390"
# Chosen pixels of the full-screen pictures.
full_points="20,20;620,20;320,200;100,300;540,300;20,380;620,380"

step "intro"
touch "$work/before"
start_game SDL_AUDIODRIVER=dummy
expect 8 "picture:18:105:124:320,200;250,180;390,180;200,200;440,200"
deadline=$((SECONDS + 8))
until "$probe" "$play_dir" check "$work/shot.rgb" "picture:19:0:0:$full_points" > /dev/null 2>&1 ||
  "$probe" "$play_dir" check "$work/shot.rgb" "picture:20:0:0:$full_points" > /dev/null 2>&1; do
  [ $SECONDS -ge $deadline ] && fail "neither strip picture was shown whole"
  sleep 0.2
  shot
done
echo "   ok: one of the two strip pictures, whole"
press space
expect 8 "picture:21:214:47:320,200;240,100;400,100;320,300;250,330"
press space

step "main menu"
skip_build_up
expect 3 "text:3:320:25:single_human:22" "text:3:320:375:exit:22"
move_marker 75 "${menu_rows[@]}"
move_marker 25 "${menu_rows[@]}"

step "options: drop speed 2, name tiger"
move_marker 250 "${menu_rows[@]}"
press Return
expect 5 "text:4:320:13:.._the_options_..:22" "text:4:500:79:1:22"
press Right
expect 3 "text:4:500:79:2:22"
move_marker 123 "${option_rows[@]}"
press Return
for key in t i g e r; do press "$key" 0.12; done
expect 3 "text:4:500:123:tiger:22"
press Escape
skip_build_up

step "single human match: moves, pause, quit"
press Return
expect 8 "$background" "text:1:262:230:tiger:23"
for key in s s f e e d; do press "$key" 0.1; done
press Escape
expect 3 "text:0:320:314:paused:23" "text:0:322:338:exit_(y/n):23"
press y
expect 8 "text:1:118:240:maximum_combo_0_hits:23"
sleep 4
press space

step "after-game pages"
after_game

step "human vs cpu: random keys, a pause resumed, Alt+Enter; the replay reproduces"
replays_before=$(ls "$play_dir/data/replays" | wc -l)
skip_build_up
move_marker 75 "${menu_rows[@]}"
press Return
expect 8 "$background"
sleep 3  # the start sequence
random_keys() {
  local keys=(s f e d) k
  for _ in $(seq "$1"); do
    k=${keys[RANDOM % 4]}
    xdotool keydown "$k"
    sleep "0.0$((RANDOM % 9 + 1))"
    xdotool keyup "$k"
    sleep "0.0$((RANDOM % 9 + 1))"
  done
}
RANDOM=2024
random_keys 25
press Escape
expect 3 "text:0:320:314:paused:23"
sleep 1
press n
random_keys 15
xdotool key alt+Return
sleep 1
random_keys 10
xdotool key alt+Return
sleep 1
expect 5 "$background"
random_keys 10
xdotool keydown d  # the field fills; held into the results, it ends them at the earliest
expect 90 "text:3:320:20:killer_kings:02"
xdotool keyup d
press space
expect 6 "text:3:320:20:combo_demons:02"
press space
[ "$(ls "$play_dir/data/replays" | wc -l)" = $((replays_before + 1)) ] ||
  fail "the match left no replay"
replay=$(ls "$play_dir/data/replays"/*.plx | tail -n 1)
"$sim" --replay "$replay" > "$work/sim.out" 2>&1 || { cat "$work/sim.out"; fail "not reproduced"; }
sed 's/^/   /' "$work/sim.out"
grep -q ": reproduced: " "$work/sim.out" || fail "the simulator did not say reproduced"

step "demo, with Alt+Enter to full screen and back"
skip_build_up
press d
expect 8 "$background"
sleep 2
cp "$work/shot.rgb" "$work/demo1.rgb"
sleep 1
shot
cmp -s "$work/shot.rgb" "$work/demo1.rgb" && fail "the demo's picture does not move"
xdotool key alt+Return
sleep 1.5
kill -0 "$game_pid" 2> /dev/null || fail "the game ended on Alt+Enter"
expect 5 "$background"
xdotool key alt+Return
sleep 1.5
expect 5 "$background"
press Escape
expect 3 "text:0:320:314:paused:23"
press y
sleep 5
press space
after_game

step "exit screen"
skip_build_up
press Escape
expect 6 "picture:17:0:0:$full_points"
press space
wait_exit 10

step "saved files"
settings=$("$probe" "$play_dir" config data/plonkix.cfg)
echo "   $settings"
[[ $settings == "dropSpeed=2 name=tiger "* ]] || fail "plonkix.cfg does not hold the new options"
[ "$(stat -c %s "$play_dir/data/plonkix.hig")" = 380 ] || fail "plonkix.hig is not 380 bytes"
[ "$play_dir/data/plonkix.hig" -nt "$work/before" ] || fail "plonkix.hig was not rewritten"

step "the replay shown in the window, without plonkix.cfg: Escape leaves"
cp "$play_dir/data/plonkix.cfg" "$work/cfg.before"
cp "$play_dir/data/plonkix.hig" "$work/hig.before"
rm "$play_dir/data/plonkix.cfg"
replays_before=$(ls "$play_dir/data/replays" | wc -l)
game_args=(--replay "$replay")
start_game SDL_AUDIODRIVER=dummy
expect 8 "$background"
press Escape
wait_exit 5

step "the replay shown again at double speed, to its end"
start_game SDL_AUDIODRIVER=dummy
expect 8 "$background"
press space
wait_exit 60
[ -s "$work/game.out" ] && { cat "$work/game.out"; fail "the replay printed something"; }
cmp -s "$play_dir/data/plonkix.hig" "$work/hig.before" || fail "showing a replay changed plonkix.hig"
[ ! -e "$play_dir/data/plonkix.cfg" ] || fail "showing a replay wrote plonkix.cfg"
[ "$(ls "$play_dir/data/replays" | wc -l)" = "$replays_before" ] || fail "showing a replay recorded one"
cp "$work/cfg.before" "$play_dir/data/plonkix.cfg"
game_args=()

step "closing the window during the intro"
cp "$play_dir/data/plonkix.cfg" "$work/cfg.before"
cp "$play_dir/data/plonkix.hig" "$work/hig.before"
start_game SDL_AUDIODRIVER=dummy
sleep 1
"$closer" "$window"
wait_exit 5
cmp "$play_dir/data/plonkix.cfg" "$work/cfg.before" || fail "closing the window changed plonkix.cfg"
cmp "$play_dir/data/plonkix.hig" "$work/hig.before" || fail "closing the window changed plonkix.hig"

step "no audio device: the whole way through, silently"
start_game SDL_AUDIODRIVER=no-such-device
expect 8 "picture:18:105:124:320,200;250,180;390,180"
skip_intro
skip_build_up
press Return
expect 8 "$background"
sleep 3  # the start sequence reads no pause key
press Escape
expect 3 "text:0:320:314:paused:23"
press j
sleep 5
press space
after_game
skip_build_up
press Escape
expect 6 "picture:17:0:0:$full_points"
press space
wait_exit 10

step "Alt+F4 in the menu"
start_game SDL_AUDIODRIVER=dummy
skip_intro
skip_build_up
xdotool key alt+F4
wait_exit 5

# geometry WxH: the window reaches that size within five seconds.
geometry() {
  local size=
  for _ in $(seq 50); do
    size=$(xdotool getwindowgeometry "$window" 2> /dev/null | awk '/Geometry/ {print $2}')
    [ "$size" = "$1" ] && { echo "   window $size"; return 0; }
    sleep 0.1
  done
  fail "the window is $size, not $1"
}

# expect_scaled SECONDS W H [root]: screenshots of the window (or the screen) until they show the
# 1x picture in work/reference.rgb as the game scales it to W x H, pixel for pixel.
expect_scaled() {
  local deadline=$((SECONDS + $1))
  while :; do
    import -window "${4:-$window}" -depth 8 "rgb:$work/scaled.rgb" 2> /dev/null
    if "$probe" "$play_dir" scaled "$work/scaled.rgb" "$2" "$3" "$work/reference.rgb" \
      > "$work/probe.txt" 2>&1; then
      sed 's/^/   /' "$work/probe.txt"
      return 0
    fi
    if [ $SECONDS -ge $deadline ]; then
      cat "$work/probe.txt"
      convert -size "$2x$3" -depth 8 "rgb:$work/scaled.rgb" "$shots/failure-scaled.png" 2> /dev/null
      fail "the picture is not the 1x one scaled to $2 x $3 (see $shots/failure-scaled.png)"
    fi
    sleep 0.2
  done
}

title="picture:18:105:124:320,200;250,180;390,180;200,200;440,200"

step "options with the keyboard: player 1 on the mouse, drop speed 1"
start_game SDL_AUDIODRIVER=dummy
skip_intro
skip_build_up
move_marker 250 "${menu_rows[@]}"
press Return
expect 5 "text:4:500:79:2:22"
press Left
expect 3 "text:4:500:79:1:22"
move_marker 167 "${option_rows[@]}"
for _ in $(seq 8); do  # a press may count twice: step through the four words until "mouse"
  shot
  "$probe" "$play_dir" check "$work/shot.rgb" "text:4:500:167:mouse:22" > /dev/null 2>&1 && break
  press Right 0.07
  sleep 0.2
done
expect 3 "text:4:500:167:mouse:22"
press Escape
delay=$("$probe" "$play_dir" config data/plonkix.cfg | sed -n 's/.* mouseDelay=\([0-9]*\).*/\1/p')

step "a match with the mouse"
scale=1
mouse_match
xdotool key alt+F4
wait_exit 5

step "a 1600 x 1000 screen: the window opens at 2x, its picture halved is the 1x picture"
start_display 1600x1000
start_game SDL_AUDIODRIVER=dummy
geometry 1280x800
shot_window=$window
shot_sample=yes
expect 8 "$title"
cp "$work/shot.rgb" "$work/title-halved.rgb"
press space
sleep 1
press space
sleep 1.5
press space
skip_build_up  # the menu's choice stays still, and Alt does nothing there
cp "$work/shot.rgb" "$work/reference.rgb"
expect_scaled 5 1280 800

step "Alt+Enter fills the screen, and again restores the 2x window"
xdotool key alt+Return
geometry 1600x1000
expect_scaled 5 1600 1000 root
xdotool key alt+Return
geometry 1280x800
expect_scaled 5 1280 800

step "resized, the whole picture shows between black bars, also where nothing is presented"
press Escape  # the exit screen presents nothing while it waits for a key
expect 8 "picture:17:0:0:$full_points"
cp "$work/shot.rgb" "$work/reference.rgb"
xdotool windowsize "$window" 1000 700
geometry 1000x700
expect_scaled 5 1000 700
xdotool windowsize "$window" 1400 600
geometry 1400x600
expect_scaled 5 1400 600
press space
wait_exit 10

step "the mouse in the 2x window: the mouse delay is twice as many screen pixels"
start_game SDL_AUDIODRIVER=dummy
geometry 1280x800
shot_window=$window
shot_sample=yes
skip_intro
scale=2
mouse_match
press Escape  # paused, the game leaves the pointer where it is
expect 3 "text:0:320:314:paused:23"
xdotool mousemove 0 0
location=$(xdotool getmouselocation --shell | tr '\n' ' ')
[[ $location == "X=160 Y=100 "* ]] || fail "the pointer left the window during play: $location"
press y
expect 8 "text:1:118:240:maximum_combo_0_hits:23"
xdotool mousemove 0 0
location=$(xdotool getmouselocation --shell | tr '\n' ' ')
[[ $location == "X=0 Y=0 "* ]] || fail "the pointer stays kept in the window after play: $location"
xdotool key alt+F4
wait_exit 5

step "--scale 1 opens 640 x 400 with the same picture"
start_game SDL_AUDIODRIVER=dummy -- --scale 1
geometry 640x400
shot_window=$window
shot_sample=
expect 8 "$title"
cmp -s "$work/shot.rgb" "$work/title-halved.rgb" || fail "the 2x picture halved is not the 1x picture"
echo "   ok: the same picture as the 2x window's, halved"
xdotool key alt+F4
wait_exit 5

step "no display: one line saying why, status 1"
launch -u DISPLAY SDL_AUDIODRIVER=dummy
wait_exit 5 1
sed 's/^/   /' "$work/game.out"
grep -q "^plonkix: cannot start video: .*DISPLAY" "$work/game.out" || fail "no reason given"
[ "$(wc -l < "$work/game.out")" = 1 ] || fail "more than one line on stderr"

step "a bad option: the usage on stderr, status 2"
launch -- --scale 9
wait_exit 5 2
grep -q "^usage: plonkix" "$work/game.out" || fail "no usage shown"

echo "the real game passed every stage"
