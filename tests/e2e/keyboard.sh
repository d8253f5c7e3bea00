# Real X key presses (xdotool) reach the viewer: F starts the flight of a run whose settings switch
# the automatic camera off, which then ends by itself. (Escape ending a run that could not end by
# itself is checked by the desktop window and minimised window scripts.)
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb

# Prints the id of the viewer's window once it is on screen.
wait_for_window() {
    timeout 60 xdotool search --sync --onlyvisible --name '^Duskvale( - .* fps)?$' | head -1
}

# Waits up to $2 seconds for the viewer process $1 and sets exit_code to its exit code, or to
# "timeout" after killing it. Runs in this shell, not a subshell, so that wait sees the child.
wait_for_exit() {
    local pid=$1 seconds=$2
    for _ in $(seq $((seconds * 10))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            exit_code=0
            wait "$pid" || exit_code=$?
            return
        fi
        sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    exit_code=timeout
}

# F, with a fixed step: the camera starts free, so the run cannot end by itself until F starts the
# flight; then 91.5 s of flight at 10 s per frame follow (10 frames). The key is held for several frames, which
# must still flip the switch only once. The expensive passes are left out so that frames come quickly
# enough to see the key while it is down.
free=$(windowed_assets free 320 240 "automaticCam = false")
"$VIEWER" --assets "$free" --fixed-step 10 --skip-pass shadow --skip-pass occlusion --skip-pass particles \
    --screenshot 1000000000:"$WORK/never.png" \
    >"$WORK/f.out" 2>"$WORK/f.err" &
viewer=$!
window=$(wait_for_window) || fail "the viewer's window did not appear"
sleep 1
kill -0 "$viewer" 2>/dev/null || fail "the run ended before F was pressed"
xdotool windowfocus --sync "$window" keydown f sleep 2 keyup f
wait_for_exit "$viewer" 600
[ "$exit_code" = 0 ] || fail "F: expected the flight to end the run with exit code 0, got $exit_code"
frames=$(sed -n 's/.*the run ended after \([0-9]*\) frames.*/\1/p' "$WORK/f.err")
[ -n "$frames" ] && [ "$frames" -ge 10 ] || fail "the run ended after '$frames' frames, fewer than a flight takes"
echo "F started the flight; the run ended by itself after $frames frames"
echo "PASS"
