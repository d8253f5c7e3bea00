# --record renders the flight offline: numbered PNG frames of the configured size and, with ffmpeg on
# PATH, an H.264 video of the same frames with the music mixed in; without ffmpeg only the frames,
# with a line saying so; a folder that cannot be made ends the run with exit code 3. A short prefix of
# the flight (--max-frames) keeps the test quick.
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb

assets=$(windowed_assets record 160 90 "automaticCam = false" "volume = 0.5")

run record "$VIEWER" --assets "$assets" --record "$WORK/video" --fps 2 --max-frames 6 --skip-pass shadow
[ "$code" -eq 0 ] || fail "recording exited with $code: $(tail -3 "$WORK/record.err")"
for n in 1 2 3 4 5 6; do
    read -r w h _ < <(png_stats "$WORK/video/frame_0000$n.png") || fail "frame $n is missing"
    [ "$w $h" = "160 90" ] || fail "frame $n is ${w}x$h"
done
[ ! -e "$WORK/video/frame_00007.png" ] || fail "a seventh frame was written"
grep -q "recording frame 6 of 6" "$WORK/record.err" || fail "no progress line: $(tail -c 300 "$WORK/record.err")"
# automaticCam=false in the settings, yet the recording flies: the camera moved between frames.
cmp -s "$WORK/video/frame_00001.png" "$WORK/video/frame_00006.png" && fail "the camera did not move"

if command -v ffprobe >/dev/null; then
    grep -q "the video $WORK/video/flight.mp4" "$WORK/record.err" || fail "no line naming the video"
    streams=$(ffprobe -v error -show_entries stream=codec_name,width,height,pix_fmt,r_frame_rate \
        -of csv=p=0 "$WORK/video/flight.mp4")
    echo "$streams" | grep -q "^h264,160,90,yuv420p,2/1" || fail "unexpected video stream: $streams"
    echo "$streams" | grep -q "^aac" || fail "the video has no sound: $streams"
    frames=$(ffprobe -v error -count_frames -select_streams v -show_entries stream=nb_read_frames \
        -of csv=p=0 "$WORK/video/flight.mp4")
    [ "$frames" = 6 ] || fail "the video has $frames frames, expected 6"
fi

# Without ffmpeg the frames are still written, and the run says there is no video.
run plain env PATH=/nonexistent "$VIEWER" --assets "$assets" --record "$WORK/frames-only" --fps 2 --max-frames 2 \
    --skip-pass shadow
[ "$code" -eq 0 ] || fail "recording without ffmpeg exited with $code"
grep -q "ffmpeg is not on PATH" "$WORK/plain.err" || fail "no note about the missing ffmpeg"
[ -f "$WORK/frames-only/frame_00002.png" ] && [ ! -e "$WORK/frames-only/flight.mp4" ] ||
    fail "expected two frames and no video"
# A folder that cannot be made (its parent is a file): the run says so and exits with code 3.
touch "$WORK/blocker"
run blocked "$VIEWER" --assets "$assets" --record "$WORK/blocker/video" --fps 2 --max-frames 1 --skip-pass shadow
[ "$code" -eq 3 ] || fail "recording into a folder that cannot be made exited with $code, expected 3"
grep -q "Cannot record into '$WORK/blocker/video'" "$WORK/blocked.err" ||
    fail "no line naming the folder: $(tail -3 "$WORK/blocked.err")"
echo "PASS"
