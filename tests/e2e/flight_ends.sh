# The real viewer under Xvfb with a fixed step: the automatic flight ends the run by itself (91.5 s at
# 0.5 s per frame: 183 frames) with exit code 0, and --max-frames ends it earlier, also with 0.
# Screenshots have the configured size, whatever the window system does.
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb

assets=$(windowed_assets flight 320 240 "automaticCam = true")

run flight "$VIEWER" --assets "$assets" --fixed-step 0.5 --skip-pass shadow --skip-pass occlusion \
    --screenshot 1:"$WORK/first.png" --screenshot 183:"$WORK/last.png" --screenshot 184:"$WORK/after.png"
[ "$code" -eq 0 ] || fail "the flight run exited with $code; stderr: $(tail -5 "$WORK/flight.err")"
[ -f "$WORK/last.png" ] || fail "frame 183 was not rendered"
[ ! -e "$WORK/after.png" ] || fail "a frame 184 ran after the flight ended"
grep -q "of frame 184 was not written: the run ended after 183 frames" "$WORK/flight.err" ||
    fail "no note about the unwritten frame 184: $(tail -3 "$WORK/flight.err")"
for shot in first last; do
    read -r w h _ < <(png_stats "$WORK/$shot.png")
    [ "$w $h" = "320 240" ] || fail "the $shot screenshot is ${w}x$h, the settings ask for 320x240"
done

run five "$VIEWER" --assets "$assets" --fixed-step 0.5 --max-frames 5 --screenshot 5:"$WORK/five.png" \
    --screenshot 6:"$WORK/six.png"
[ "$code" -eq 0 ] || fail "--max-frames 5 exited with $code"
[ -f "$WORK/five.png" ] && [ ! -e "$WORK/six.png" ] || fail "--max-frames 5 did not stop after frame 5"
echo "PASS"
