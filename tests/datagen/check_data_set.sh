#!/usr/bin/env bash
# Checks that a generated data directory holds files that standard tools accept: every picture
# opens in ImageMagick at its size, every animation decodes in ffmpeg to 78 x 48 frames, every
# sound passes soxi as 22050 Hz mono 16-bit. Skips (77) without the tools or the data set.
# Usage: check_data_set.sh DATA_DIR
set -uo pipefail
data=$1
for tool in identify ffmpeg soxi; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -f "$data/plonkix.p23" ] || { echo "SKIP: no generated data set in $data"; exit 77; }
fail=0
# verdict FILE OK DETAIL: reports one file.
verdict() {
  if [ "$2" = 0 ]; then echo "ok: $(basename "$1")"; else echo "FAIL: $(basename "$1"): $3"; fail=1; fi
}

sizes=(320x200 320x200 306x70 320x200 320x200 320x200 320x200 320x200 320x200 320x200 320x200
       320x200 200x50 274x110 274x110 14x374 320x200 640x400 430x152 640x400 640x400 212x307
       640x400 640x400)
for p in $(seq 0 23); do
  file=$(printf '%s/plonkix.p%02d' "$data" "$p")
  seen=$(identify -format '%wx%h %m' "pcx:$file" 2>&1)
  [ "$seen" = "${sizes[$p]} PCX" ]; verdict "$file" $? "ImageMagick sees '$seen', not '${sizes[$p]} PCX'"
done
for f in 0 1 2; do
  file=$(printf '%s/plonkix.f%02d' "$data" "$f")
  bytes=$(ffmpeg -v error -f flic -i "$file" -f rawvideo -pix_fmt rgb24 - 2> /dev/null | wc -c)
  probe=$(ffmpeg -hide_banner -f flic -i "$file" 2>&1)
  # Ten frames and the loop frame, 78 x 48 x 3 bytes each.
  grep -q '78x48' <<< "$probe" && [ "$bytes" -ge $((10 * 78 * 48 * 3)) ]
  verdict "$file" $? "ffmpeg decoded $bytes bytes: $probe"
done
for w in $(seq 0 19); do
  file=$(printf '%s/plonkix.w%02d' "$data" "$w")
  info=$(soxi "$file" 2>&1)
  grep -q 'Sample Rate *: 22050' <<< "$info" && grep -q 'Channels *: 1' <<< "$info" &&
    grep -q 'Precision *: 16-bit' <<< "$info"
  verdict "$file" $? "$info"
done
exit $fail
