# The on-screen panel and keys under real X input (xdotool), seen in captures of the window (ImageMagick's
# import; the viewer's own screenshots never hold the panel): the panel changes the picture only inside
# its rectangle, F1 and --hud show it, a click on its occlusion switch does what H does; F starts the flight.
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb
command -v import >/dev/null || fail "ImageMagick's import is needed (scripts/install-deps.sh installs it)"

# A still picture (free camera, no flicker, smoke, character or shadow) at a fixed step, so that once F
# starts the flight the run ends by itself after ten frames of ten seconds.
assets=$(windowed_assets panel 800 450 "automaticCam = false")
STILL=(--skip-pass shadow --skip-pass lamps --skip-pass particles --skip-pass character --fixed-step 10
    --screenshot 1000000000:"$WORK/never.png")
RIGHT=(352 0 448 450) # right of the panel (8 pixels in, 340 wide) and the strip above it stay untouched
ABOVE=(0 0 800 7)
PANEL=(8 8 340 300)
AO_SWITCH=(16 36 18 18) # the box of the first switch, ambient occlusion

# Starts the viewer and waits until two captures of the loaded scene agree.
start_viewer() {
    "$VIEWER" --assets "$assets" "${STILL[@]}" "$@" >"$WORK/viewer.out" 2>"$WORK/viewer.err" &
    viewer=$!
    rm -f "$WORK/previous.png"
    window=$(viewer_window) || fail "the viewer's window did not appear"
    xdotool windowfocus --sync "$window"
    for _ in $(seq 90); do
        capture start
        [ "$(png_stats "$WORK/start.png" "${RIGHT[@]}" | awk '{ print $3 + $4 + $5 }')" -gt 3 ] &&
            [ -f "$WORK/previous.png" ] && [ "$(differing start previous "${RIGHT[@]}")" = 0 ] && sleep 4 && return
        cp "$WORK/start.png" "$WORK/previous.png"
        sleep 2
    done
    fail "the viewer showed no steady picture within three minutes"
}
capture() { import -window "$window" "$WORK/$1.png"; }
stop_viewer() {
    kill "$viewer" 2>/dev/null || true
    wait "$viewer" 2>/dev/null || true
}
trap 'stop_viewer; rm -rf "$WORK"' EXIT

# Pixels of a rectangle of two captures that differ by more than 2/255 in some channel.
differing() { png_stats --diff "$WORK/$1.png" "$WORK/$2.png" 2 "${@:3}" | awk '{ print $1 }'; }
same_outside_panel() {
    [ "$(differing "$1" "$2" "${RIGHT[@]}")" = 0 ] && [ "$(differing "$1" "$2" "${ABOVE[@]}")" = 0 ]
}
panel_drawn_over() { [ "$(differing "$1" "$2" "${PANEL[@]}")" -gt 5000 ]; }
picture_changed() { [ "$(differing "$1" "$2" "${RIGHT[@]}")" -gt 100 ]; }
same_switch() { [ "$(differing "$1" "$2" "${AO_SWITCH[@]}")" = 0 ]; }
identical() { [ "$(differing "$1" "$2")" = 0 ]; }
both_like() { same_outside_panel "$1" "$2" && same_switch "$1" "$2"; }

# Captures NAME once two captures a few seconds apart agree on the picture and the switch.
capture_steady() {
    capture "$1"
    for _ in $(seq 20); do
        sleep 3
        capture steady
        both_like "$1" steady && return 0
        cp "$WORK/steady.png" "$WORK/$1.png"
    done
    fail "the picture did not settle"
}

# Captures the window as NAME until the condition (a command) holds, for up to a minute.
capture_until() {
    local name=$1
    shift
    for _ in $(seq 30); do
        capture "$name"
        "$@" && return 0
        sleep 2
    done
    return 1
}

start_viewer
capture hidden
xdotool key --window "$window" F1
capture_until shown panel_drawn_over hidden shown || fail "F1 did not show the panel"
same_outside_panel hidden shown || fail "the panel changed the picture outside its rectangle"
xdotool key --window "$window" F1
capture_until hidden_again identical hidden hidden_again || fail "a second F1 did not hide the panel again"
stop_viewer

start_viewer --hud
capture_until hud panel_drawn_over hidden hud || fail "--hud did not show the panel"
same_outside_panel hidden hud || fail "with --hud the picture differs outside the panel"

# The panel reads the pointer once a frame: it stays on the switch until the picture changed, then
# moves off so that no capture shows the switch highlighted.
xdotool mousemove --window "$window" 80 45 sleep 2 mousedown 1 sleep 2 mouseup 1
capture_until clicked picture_changed hud clicked || fail "the click on the occlusion switch changed nothing"
xdotool mousemove --window "$window" 700 400
capture_steady clicked
same_switch hud clicked && fail "the occlusion switch's box did not change"

# H, polled once a frame and so held a while, turns it back on, switch included; again gives the click's.
press_h() { xdotool keydown --window "$window" h sleep 1.5 keyup --window "$window" h; }
press_h
capture_until h_once both_like hud h_once || fail "H did not undo the click, picture and switch"
press_h
capture_until h_twice both_like clicked h_twice || fail "H and the click leave picture or switch differently"

# F, held for several frames, flips the switch once: the flight starts and ends the run with exit code 0.
kill -0 "$viewer" 2>/dev/null || fail "the run ended before F was pressed"
xdotool windowfocus --sync "$window" keydown f sleep 2 keyup f
for _ in $(seq 3000); do kill -0 "$viewer" 2>/dev/null && sleep 0.1 || break; done
code=0
kill -0 "$viewer" 2>/dev/null && fail "the flight F started did not end the run within five minutes"
wait "$viewer" || code=$?
[ "$code" = 0 ] || fail "F: the flight ended the run with exit code $code, not 0"
grep -q 'the run ended after [0-9]* frames' "$WORK/viewer.err" || fail "no closing line after the flight"
echo "PASS"
