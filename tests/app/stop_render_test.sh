#!/usr/bin/env bash
# SIGINT during a video render: orvane finishes the video with the frames rendered so far (the
# music cut to match) and exits with 130. SIGTERM during a render into PNG frames: every frame
# written is whole, exit 143. Usage: stop_render_test.sh ORVANE DEMO_DIR
set -euo pipefail
orvane="$1"
demo="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
video="$work/stopped.mkv"

"$orvane" "$demo" --render "$video" --size 64x36 --fps 30 2>"$work/stderr" &
pid=$!
# Wait until the encoder has written a few clusters, then ask orvane to stop.
for _ in $(seq 1 600); do
  if [ -f "$video" ] && [ "$(stat -c %s "$video")" -gt 20000 ]; then break; fi
  if ! kill -0 "$pid" 2>/dev/null; then echo "orvane ended before the signal"; cat "$work/stderr"; exit 1; fi
  sleep 0.1
done
kill -INT "$pid"
status=0
wait "$pid" || status=$?
if [ "$status" -ne 130 ]; then echo "exit status $status, expected 130"; cat "$work/stderr"; exit 1; fi

# Every frame of the video decodes, and the sound is no longer than the picture.
frames="$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 "$video")"
video_seconds="$(ffprobe -v error -select_streams v:0 -show_entries format=duration -of csv=p=0 "$video")"
audio_end="$(ffprobe -v error -select_streams a:0 -show_entries packet=pts_time -of csv=p=0 "$video" | tail -1)"
ffmpeg -v error -i "$video" -f null - 2>"$work/decode"
if [ -s "$work/decode" ]; then echo "the video does not decode cleanly:"; cat "$work/decode"; exit 1; fi
echo "frames $frames, duration $video_seconds s, last audio packet at $audio_end s"
if [ "$frames" -lt 2 ] || [ "$frames" -ge 1200 ]; then echo "unexpected frame count $frames"; exit 1; fi
awk -v a="$audio_end" -v f="$frames" 'BEGIN { if (a > f / 30 + 0.2) { print "the sound runs past the picture"; exit 1 } }'
grep -q "orvane: wrote $frames frames" "$work/stderr" || { echo "stderr does not report $frames frames:"; cat "$work/stderr"; exit 1; }

# PNG frames and SIGTERM.
frames_dir="$work/frames"
"$orvane" "$demo" --render "$frames_dir" --size 64x36 --fps 30 2>"$work/stderr" &
pid=$!
for _ in $(seq 1 600); do
  if [ "$(ls "$frames_dir" 2>/dev/null | wc -l)" -ge 5 ]; then break; fi
  if ! kill -0 "$pid" 2>/dev/null; then echo "orvane ended before the signal"; cat "$work/stderr"; exit 1; fi
  sleep 0.1
done
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
if [ "$status" -ne 143 ]; then echo "exit status $status, expected 143"; cat "$work/stderr"; exit 1; fi
written="$(ls "$frames_dir" | wc -l)"
for frame in "$frames_dir"/*.png; do
  ffmpeg -v error -i "$frame" -f null - 2>"$work/decode"
  if [ -s "$work/decode" ]; then echo "$frame is not whole:"; cat "$work/decode"; exit 1; fi
done
echo "$written PNG frames, all whole"
grep -q "orvane: wrote $written frames" "$work/stderr" || { echo "stderr does not report $written frames:"; cat "$work/stderr"; exit 1; }
