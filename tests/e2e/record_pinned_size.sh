# A recording keeps its size: a resize that reaches the window anyway (without a window manager nothing
# enforces the size hints) changes none of the frames. The fixed step makes frames repeatable, so the
# frames of a resized run must equal those of an undisturbed one.
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb

assets=$(windowed_assets pinned 160 90 "automaticCam = true")
record() {
    "$VIEWER" --assets "$assets" --record "$WORK/$1" --fps 4 --max-frames 12 --skip-pass shadow \
        >"$WORK/$1.out" 2>"$WORK/$1.err" &
}

record calm
calm=$!
wait "$calm" || fail "the undisturbed recording failed: $(tail -3 "$WORK/calm.err")"

record resized
viewer=$!
window=$(viewer_window) || fail "the recording's window did not appear"
# Again and again while the scene loads and the frames are written, so some land mid-run.
while kill -0 "$viewer" 2>/dev/null; do
    xdotool windowsize "$window" 400 300 2>/dev/null || true
    sleep 0.05
done
code=0
wait "$viewer" || code=$?
[ "$code" -eq 0 ] || fail "the resized recording exited with $code: $(tail -3 "$WORK/resized.err")"
for n in 01 06 12; do
    read -r w h _ < <(png_stats "$WORK/resized/frame_000$n.png") || fail "frame $n is missing"
    [ "$w $h" = "160 90" ] || fail "frame $n is ${w}x$h, the recording is 160x90"
    read -r over pixels max < <(png_stats --diff "$WORK/calm/frame_000$n.png" "$WORK/resized/frame_000$n.png" 0)
    [ "$over" -eq 0 ] || fail "frame $n of the resized run differs in $over of $pixels pixels (up to $max)"
done
echo "PASS"
