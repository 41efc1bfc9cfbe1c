#!/usr/bin/env bash
# scripts/render-farm on this machine with two jobs: 1.5 seconds at 10 frames per second in chunks
# of half a second make a video of 15 frames, 1.5 seconds long, with the music.
# Usage: render_farm_test.sh RENDER_FARM ORVANE DEMO_DIR
set -euo pipefail
farm="$1"
orvane="$2"
demo="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
video="$work/farmed.mp4"

"$farm" --orvane "$orvane" --jobs 2 --fps 10 --from 20 --to 21.5 --chunk 0.5 --preroll 1 "$demo" "$video" \
  -- --size 64x36 2>"$work/stderr" || { cat "$work/stderr"; exit 1; }

frames="$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 "$video")"
video_seconds="$(ffprobe -v error -select_streams v:0 -show_entries stream=duration -of csv=p=0 "$video")"
audio_seconds="$(ffprobe -v error -select_streams a:0 -show_entries stream=duration -of csv=p=0 "$video")"
ffmpeg -v error -i "$video" -f null - 2>"$work/decode"
if [ -s "$work/decode" ]; then echo "the video does not decode cleanly:"; cat "$work/decode"; exit 1; fi
if [ "$frames" != 15 ]; then echo "$frames frames, expected 15"; exit 1; fi
awk -v v="$video_seconds" -v a="${audio_seconds:-0}" 'BEGIN {
  if (v < 1.45 || v > 1.55) { print "video of " v " s, expected 1.5"; exit 1 }
  if (a < 1.4 || a > 1.6) { print "sound of " a " s, expected 1.5"; exit 1 } }'
if [ -d "$video.chunks" ]; then echo "the chunks were left behind"; exit 1; fi
echo "render-farm: 15 frames, video $video_seconds s, sound $audio_seconds s"
