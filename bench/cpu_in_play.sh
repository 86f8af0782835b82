#!/usr/bin/env bash
# CPU use of the real game while a match plays: starts the game under Xvfb, goes to the
# computer demo, and measures the process's CPU time over a stretch of play. The screen is
# SCALE times 640 x 400, and the window opens at that multiple. With the end-to-end probe built
# (build/tests/e2e/e2e-probe) the script first checks that the match is on the screen.
#   bench/cpu_in_play.sh [GAMEDIR] [SECONDS] [SCALE]
set -euo pipefail
game=${1:-build/game}
seconds=${2:-20}
scale=${3:-1}
work=$(mktemp -d)
cp -r "$game" "$work/game"
exec 3> "$work/display"
Xvfb -noreset -displayfd 3 -screen 0 $((640 * scale))x$((400 * scale))x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
probe=$(dirname "$game")/tests/e2e/e2e-probe
# The game first: it must not lose its display while it is still ending.
trap 'kill ${pid:-} 2> /dev/null; wait ${pid:-} 2> /dev/null; kill $xvfb; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n 1 "$work/display")
(cd "$work/game" && SDL_AUDIODRIVER=dummy exec ./plonkix > /dev/null 2>&1) &
pid=$!
press() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep "${2:-0.3}"; }
background="picture:23:0:0:5,395;635,395;320,255;2,200;637,200"
shown() {
  import -window root png:- | convert - -sample 640x400 -depth 8 "rgb:$work/shot.rgb"
  "$probe" "$work/game" check "$work/shot.rgb" "$background" > /dev/null 2>&1
}
sleep 1
if [ -x "$probe" ]; then
  # D skips the intro's pictures and the menu's build-up like any key, and in the menu's choice
  # starts the demo, where it does nothing: press it until the match shows.
  for _ in $(seq 50); do
    shown && break
    press d 1
  done
  shown || { echo "the demo did not start" >&2; exit 1; }
  sleep 4  # past the start sequence
else
  press space 1; press space 1.5; press space 1.5  # the intro's three pictures
  press space 0.5; press space 2                  # the menu's build-up
  press d 6                                        # the demo, past its start sequence
fi
before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
sleep "$seconds"
after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
hz=$(getconf CLK_TCK)
share=$(( (after - before) * 10000 / (hz * seconds) ))  # hundredths of a per cent
printf 'CPU time over %s s of play at %sx: %d ms, that is %d.%02d %% of one core\n' "$seconds" \
  "$scale" $(( (after - before) * 1000 / hz )) $((share / 100)) $((share % 100))
