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
    for _ in $(seq 180); do
        import -window "$window" "$WORK/start.png"
        if [ "$(png_stats "$WORK/start.png" "${RIGHT[@]}" | awk '{ print $3 + $4 + $5 }')" -gt 3 ]; then
            if [ -n "$previous" ] && [ "$(differing start previous "${RIGHT[@]}")" = 0 ]; then
                settle
                return
            fi
            cp "$WORK/start.png" "$WORK/previous.png"
            previous=yes
        fi
        sleep 1
    done
    fail "the viewer showed no steady picture within three minutes"
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
    [ "$(differing "$1" "$2" "${RIGHT[@]}")" = 0 ] && [ "$(differing "$1" "$2" "${ABOVE[@]}")" = 0 ]
}
panel_drawn_over() { [ "$(differing "$1" "$2" "${PANEL[@]}")" -gt 5000 ]; }
picture_changed() { [ "$(differing "$1" "$2" "${RIGHT[@]}")" -gt 100 ]; }
same_switch() { [ "$(differing "$1" "$2" "${AO_SWITCH[@]}")" = 0 ]; }
identical() { [ "$(differing "$1" "$2")" = 0 ]; }

# Captures the window as NAME until the condition (a command) holds; frames can take seconds here, so
# it tries for a minute before giving up.
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

# Captures NAME once two captures a few seconds apart agree on the picture and the switch.
capture_steady() {
    capture "$1"
    for _ in $(seq 20); do
        sleep 3
        capture steady
        same_outside_panel "$1" steady && same_switch "$1" steady && return 0
        cp "$WORK/steady.png" "$WORK/$1.png"
    done
    fail "the picture did not settle"
}

# F1 shows and hides the panel, which is hidden at start without --hud.
start_viewer
capture hidden
xdotool key --window "$window" F1
capture_until shown panel_drawn_over hidden shown || fail "F1 did not show the panel"
same_outside_panel hidden shown || fail "the panel changed the picture outside its rectangle"
xdotool key --window "$window" F1
capture_until hidden_again identical hidden hidden_again || fail "a second F1 did not hide the panel again"
stop_viewer

# --hud shows it from the start, over the same picture.
start_viewer --hud
capture_until hud panel_drawn_over hidden hud || fail "--hud did not show the panel"
same_outside_panel hidden hud || fail "with --hud the picture differs outside the panel"

# A click on the occlusion switch turns occlusion off: the picture changes and so does the box. The
# panel reads the pointer's position once a frame, so the pointer stays on the switch until the
# picture has changed, and only then moves off, so that no capture shows the switch highlighted.
xdotool mousemove --window "$window" 80 45 sleep 2 mousedown 1 sleep 2 mouseup 1
capture_until clicked picture_changed hud clicked || fail "the click on the occlusion switch changed nothing"
xdotool mousemove --window "$window" 700 400
capture_steady clicked
same_switch hud clicked && fail "the occlusion switch's box did not change"

# H turns it back on, switch included; H again gives exactly what the click gave. The viewer polls H
# once a frame, so the key is held for a while.
press_h() {
    xdotool keydown --window "$window" h sleep 1.5 keyup --window "$window" h
}
both_like() { same_outside_panel "$1" "$2" && same_switch "$1" "$2"; }
press_h
capture_until h_once both_like hud h_once || fail "H did not undo the click, picture and switch"
press_h
capture_until h_twice both_like clicked h_twice || fail "H and the click leave picture or switch differently"
echo "PASS"
