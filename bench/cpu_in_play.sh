#!/usr/bin/env bash
# CPU use of the real game while a match plays: starts the game under Xvfb, goes to the
# computer demo, and measures the process's CPU time over a stretch of play.
#   bench/cpu_in_play.sh [GAMEDIR] [SECONDS]
set -euo pipefail
game=${1:-build/game}
seconds=${2:-20}
work=$(mktemp -d)
cp -r "$game" "$work/game"
exec 3> "$work/display"
Xvfb -noreset -displayfd 3 -screen 0 640x400x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb ${pid:-} 2> /dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n 1 "$work/display")
(cd "$work/game" && SDL_AUDIODRIVER=dummy exec ./plonkix > /dev/null 2>&1) &
pid=$!
press() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep "${2:-0.3}"; }
sleep 1
press space 1; press space 1.5; press space 1.5  # the intro's three pictures
press space 0.5; press space 2                  # the menu's build-up
press d 6                                        # the demo, past its start sequence
before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
sleep "$seconds"
after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
hz=$(getconf CLK_TCK)
share=$(( (after - before) * 10000 / (hz * seconds) ))  # hundredths of a per cent
printf 'CPU time over %s s of play: %d ms, that is %d.%02d %% of one core\n' "$seconds" \
  $(( (after - before) * 1000 / hz )) $((share / 100)) $((share % 100))
