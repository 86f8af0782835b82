# Sourced by the window tests (GAME is the game directory): skips the test (status 77) when a
# tool or the game is missing, makes a work directory and the screenshot directory, and gives
# start_xvfb.
for tool in Xvfb xdotool import convert cmp; do
  command -v "$tool" > /dev/null || { echo "$tool is not installed"; exit 77; }
done
[ -x "$game/plonkix" ] && [ -f "$game/data/plonkix.p23" ] || { echo "no game in $game"; exit 77; }
work=$(mktemp -d)
shots=${PLONKIX_E2E_SHOTS:-${TMPDIR:-/tmp}/plonkix-e2e-shots}
mkdir -p "$shots"

# start_xvfb WxH FILE: a fresh Xvfb with one screen of that size, its pid in xvfb_started, its
# display in xvfb_display (FILE receives its number); fails when it did not start.
start_xvfb() {
  rm -f "$2"
  exec 3> "$2"
  Xvfb -noreset -displayfd 3 -screen 0 "$1x24" -nolisten tcp > /dev/null 2>&1 &
  xvfb_started=$!
  exec 3>&-
  for _ in $(seq 50); do [ -s "$2" ] && break; sleep 0.1; done
  [ -s "$2" ] && xvfb_display=:$(head -n 1 "$2")
}
