#!/usr/bin/env bash
# Checks that files written by the game's encoders open in standard tools with the right size
# and pixels: PCX in ImageMagick, FLC in ffmpeg, WAV in sox. Skips (77) without the tools.
# Usage: check_standard_tools.sh PATH/TO/codec_samples
set -euo pipefail
samples=$1
for tool in identify convert ffmpeg soxi; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$samples" "$dir"
fail=0

check_picture() {  # name width height
  local size
  size=$(identify -format '%w %h %m' "$dir/$1.pcx")
  if [ "$size" != "$2 $3 PCX" ]; then
    echo "FAIL: $1.pcx: ImageMagick sees '$size', expected '$2 $3 PCX'"; fail=1; return
  fi
  convert "$dir/$1.pcx" -depth 8 "rgb:$dir/$1.out"
  if cmp -s "$dir/$1.out" "$dir/$1.pcx.rgb"; then
    echo "ok: $1.pcx opens in ImageMagick as $2 x $3 with the right pixels"
  else
    echo "FAIL: $1.pcx: ImageMagick's pixels differ"; fail=1
  fi
}
check_picture sheet 320 200
check_picture side 14 373

probe=$(ffmpeg -hide_banner -i "$dir/anim.flc" 2>&1 || true)
if ! grep -q 'flic' <<< "$probe" || ! grep -q '78x48' <<< "$probe"; then
  echo "FAIL: anim.flc: ffmpeg does not see a 78x48 flic:"; echo "$probe"; fail=1
fi
# ffmpeg also decodes the loop frame after the ten; the first ten must be ours.
ffmpeg -v error -i "$dir/anim.flc" -fps_mode passthrough -frames:v 10 -f rawvideo -pix_fmt rgb24 \
  "$dir/anim.out" -y
if cmp -s "$dir/anim.out" "$dir/anim.flc.rgb"; then
  echo "ok: anim.flc decodes in ffmpeg to the ten frames"
else
  echo "FAIL: anim.flc: ffmpeg's frames differ ($(stat -c %s "$dir/anim.out") bytes)"; fail=1
fi

wav=$(soxi "$dir/sound.wav")
if grep -q 'Sample Rate *: 22050' <<< "$wav" && grep -q 'Channels *: 1' <<< "$wav" &&
   grep -q 'Precision *: 16-bit' <<< "$wav" && grep -q '2205 samples' <<< "$wav"; then
  echo "ok: sound.wav passes soxi as 22050 Hz mono 16-bit"
else
  echo "FAIL: sound.wav:"; echo "$wav"; fail=1
fi
exit $fail
