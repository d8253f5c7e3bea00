# The on-screen panel under real X input (xdotool) and captures of the window itself (ImageMagick's
# import: the viewer's own screenshots never contain the panel). The panel changes the picture only
# inside its rectangle; F1 shows and hides it; a click on its occlusion switch does what H does, and
# H moves the switch.
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb
command -v import >/dev/null || fail "ImageMagick's import is needed (scripts/install-deps.sh installs it)"

# A still picture: free camera (no flight), no lamp flicker, smoke or character; shadows left out so
# that frames come quickly enough for the keys and clicks.
assets=$(windowed_assets panel 800 450 "automaticCam = false")
STILL=(--skip-pass shadow --skip-pass lamps --skip-pass particles --skip-pass character)
# The panel sits 8 pixels from the top left and is 340 wide; everything right of it and the strip
# above it must stay untouched.
RIGHT=(352 0 448 450)
ABOVE=(0 0 800 7)
PANEL=(8 8 340 300)
AO_SWITCH=(16 36 18 18) # the box of the first switch, ambient occlusion

start_viewer() {
    "$VIEWER" --assets "$assets" "${STILL[@]}" "$@" >"$WORK/viewer.out" 2>"$WORK/viewer.err" &
    viewer=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Duskvale$' | head -1) ||
        fail "the viewer's window did not appear"
    xdotool windowfocus --sync "$window"
    # The window opens before the scene is loaded; wait until frames show the same picture.
    local previous=""
    for _ in $(seq 60); do
        import -window "$window" "$WORK/start.png"
        if [ "$(png_stats "$WORK/start.png" "${RIGHT[@]}" | awk '{ print $3 + $4 + $5 }')" -gt 3 ]; then
            [ -n "$previous" ] && [ "$(differing start previous "${RIGHT[@]}")" = 0 ] && break
            cp "$WORK/start.png" "$WORK/previous.png"
            previous=yes
        fi
        sleep 1
    done
    settle
}

# Lets a few frames pass (llvmpipe draws a few per second here).
settle() {
    sleep 4
}

capture() {
    import -window "$window" "$WORK/$1.png"
}

stop_viewer() {
    kill "$viewer" 2>/dev/null || true
    wait "$viewer" 2>/dev/null || true
}
trap 'stop_viewer; rm -rf "$WORK"' EXIT

# Pixels of a rectangle of two captures that differ by more than 2/255 in some channel.
differing() {
    png_stats --diff "$WORK/$1.png" "$WORK/$2.png" 2 "${@:3}" | awk '{ print $1 }'
}

same_outside_panel() {
    [ "$(differing "$1" "$2" "${RIGHT[@]}")" = 0 ] && [ "$(differing "$1" "$2" "${ABOVE[@]}")" = 0 ] ||
        fail "$1 and $2 differ outside the panel"
}

# F1 shows and hides the panel, which is hidden at start without --hud.
start_viewer
capture hidden
xdotool key --window "$window" F1
settle
capture shown
xdotool key --window "$window" F1
settle
capture hidden_again
stop_viewer
same_outside_panel hidden shown
[ "$(differing hidden shown "${PANEL[@]}")" -gt 5000 ] || fail "F1 did not show the panel"
[ "$(differing hidden hidden_again)" = 0 ] || fail "a second F1 did not hide the panel again"

# --hud shows it from the start, over the same picture.
start_viewer --hud
capture hud
same_outside_panel hidden hud
[ "$(differing hidden hud "${PANEL[@]}")" -gt 5000 ] || fail "--hud did not show the panel"

# A click on the occlusion switch turns occlusion off: the picture changes and so does the box.
# The pointer then moves off the panel, so that no capture shows the switch highlighted under it.
xdotool mousemove --window "$window" 80 45 sleep 1 mousedown 1 sleep 1 mouseup 1 sleep 1 \
    mousemove --window "$window" 700 400
settle
capture clicked
[ "$(differing hud clicked "${RIGHT[@]}")" -gt 100 ] || fail "the click on the occlusion switch changed nothing"
[ "$(differing hud clicked "${AO_SWITCH[@]}")" -gt 20 ] || fail "the occlusion switch's box did not change"
# H turns it back on, switch included; H again gives exactly what the click gave. The viewer polls H
# once a frame, so the key is held for a while.
press_h() {
    xdotool keydown --window "$window" h sleep 1.5 keyup --window "$window" h
}
press_h
settle
capture h_once
same_outside_panel hud h_once
[ "$(differing hud h_once "${AO_SWITCH[@]}")" = 0 ] || fail "H did not move the occlusion switch back"
press_h
settle
capture h_twice
same_outside_panel clicked h_twice
[ "$(differing clicked h_twice "${AO_SWITCH[@]}")" = 0 ] || fail "H and the click leave the switch differently"
echo "PASS"
