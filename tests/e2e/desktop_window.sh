# The window as a desktop program, driven by real X input (xdotool) on the wall clock: the title shows
# the frame rate; F12 writes a PNG of the window's size; Space freezes the picture and resumes it; a
# resize mid-run is followed (no white band, scene on both sides); a storm of resizes is survived; F11
# goes full screen and back to the window's last size; a screenshot folder that vanished costs one line.
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb

shots="$WORK/shots"
mkdir -p "$shots"
assets=$(windowed_assets desk 640 360 "automaticCam = true")
# --loop: the test may take longer than one flight on a slow machine. The shadow and occlusion passes
# are left out only to make frames come faster; the window and keys do not depend on them.
"$VIEWER" --assets "$assets" --size 320x180 --loop --screenshot-dir "$shots" --skip-pass shadow \
    --skip-pass occlusion >"$WORK/viewer.out" 2>"$WORK/viewer.err" &
viewer=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Duskvale' | head -1) ||
    fail "the viewer's window did not appear"

alive() {
    kill -0 "$viewer" 2>/dev/null || fail "the viewer ended early: $(tail -3 "$WORK/viewer.err")"
}

# Presses F12 and prints the path of the new picture once the viewer reports it.
shoot() {
    local before
    before=$(grep -c '^Screenshot written to ' "$WORK/viewer.out" || true)
    xdotool windowfocus --sync "$window" key F12
    for _ in $(seq 600); do
        local count
        count=$(grep -c '^Screenshot written to ' "$WORK/viewer.out" || true)
        if [ "$count" -gt "$before" ]; then
            grep '^Screenshot written to ' "$WORK/viewer.out" | tail -1 | sed 's/^Screenshot written to //'
            return
        fi
        sleep 0.1
    done
    fail "F12 wrote no picture within a minute"
}

size_of() {
    local w h
    read -r w h _ < <(png_stats "$1")
    echo "${w}x$h"
}

# Mean brightness (0 ... 255) of a rectangle X Y W H of a picture.
brightness() {
    png_stats "$@" | awk '{ printf "%d", ($3 + $4 + $5) / 3 }'
}

# Scene content, not the white of an uncovered window nor an empty black: the run clears to white, so
# a part of the window the picture does not reach reads near 255.
expect_scene() {
    local file=$1 what=$2
    shift 2
    local b
    b=$(brightness "$file" "$@")
    [ "$b" -lt 200 ] || fail "$what is white ($b/255): the picture does not reach it"
    local over
    over=$(png_stats --diff "$file" "$file" 0 "$@" | awk '{ print $2 }')
    [ "$over" -gt 0 ] || fail "$what is empty"
}

# The title: "Duskvale - N fps", renewed while the run goes on.
for _ in $(seq 300); do
    title=$(xdotool getwindowname "$window")
    [[ "$title" =~ ^Duskvale\ -\ [0-9]+\.[0-9]\ fps$ ]] && break
    sleep 0.1
done
[[ "$title" =~ ^Duskvale\ -\ [0-9]+\.[0-9]\ fps$ ]] || fail "the title is '$title', not 'Duskvale - N fps'"
echo "title: $title"

first=$(shoot)
[ "$(dirname "$first")" = "$shots" ] || fail "F12 wrote $first, not into $shots"
[[ "$(basename "$first")" =~ ^duskvale_[0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}-[0-9]{2}(_[0-9]+)?\.png$ ]] ||
    fail "F12's file $first is not named after the date and time"
[ "$(size_of "$first")" = 320x180 ] || fail "F12 wrote $(size_of "$first"), the window is 320x180 (--size)"

# Space: two pictures a second apart are the same; after Space again the flight moves on.
xdotool windowfocus --sync "$window" key space
sleep 1
paused_a=$(shoot)
sleep 1
paused_b=$(shoot)
read -r over _ max < <(png_stats --diff "$paused_a" "$paused_b" 0)
[ "$over" -eq 0 ] || fail "paused, two pictures a second apart differ in $over pixels (by up to $max)"
xdotool windowfocus --sync "$window" key space
sleep 2
running=$(shoot)
read -r over pixels _ < <(png_stats --diff "$paused_b" "$running" 8)
[ "$over" -gt $((pixels / 20)) ] || fail "after Space again the picture stayed (only $over of $pixels pixels changed)"
echo "Space froze the picture and resumed it ($over of $pixels pixels changed after resuming)"

# A resize mid-run: the picture fills the new window, scene content on both sides.
alive
xdotool windowsize --sync "$window" 640 360
sleep 1
resized=$(shoot)
[ "$(size_of "$resized")" = 640x360 ] || fail "after the resize F12 wrote $(size_of "$resized"), not 640x360"
expect_scene "$resized" "the right part beyond the old width" 330 0 310 360
expect_scene "$resized" "the top part above the old height" 0 0 640 170
expect_scene "$resized" "the lower-left part the old size covered" 0 190 310 170
echo "after the resize to 640x360 the picture fills the window"

# A storm: 200 size changes as fast as X takes them, then one last size that must be followed.
rss_before=$(ps -o rss= -p "$viewer")
for n in $(seq 200); do
    xdotool windowsize "$window" $((200 + n % 7 * 40)) $((120 + n % 5 * 30))
done
xdotool windowsize --sync "$window" 400 300
sleep 2
alive
stormed=$(shoot)
[ "$(size_of "$stormed")" = 400x300 ] || fail "after the storm F12 wrote $(size_of "$stormed"), not 400x300"
expect_scene "$stormed" "the picture after the storm" 0 0 400 300
rss_after=$(ps -o rss= -p "$viewer")
echo "resize storm survived; resident memory ${rss_before} kB before, ${rss_after} kB after"

# F11: full screen on the 1920x1080 display, then back to the window's last size.
xdotool windowfocus --sync "$window" key F11
sleep 2
full=$(shoot)
[ "$(size_of "$full")" = 1920x1080 ] || fail "F11 gave a $(size_of "$full") picture, not the 1920x1080 screen"
expect_scene "$full" "the right part of the full screen" 1500 0 420 1080
xdotool key F11
sleep 2
back=$(shoot)
[ "$(size_of "$back")" = 400x300 ] || fail "F11 again gave $(size_of "$back"), not the window's last 400x300"
echo "F11 went full screen and back to 400x300"

# A screenshot folder that is gone: one line, and the run goes on.
rm -rf "$shots"
xdotool windowfocus --sync "$window" key F12
for _ in $(seq 300); do
    grep -q "^Could not write a screenshot: the folder $shots does not exist; the run goes on without it\.$" \
        "$WORK/viewer.out" && break
    sleep 0.1
done
grep -q "^Could not write a screenshot: the folder $shots does not exist" "$WORK/viewer.out" ||
    fail "no line about the missing folder: $(tail -3 "$WORK/viewer.out")"
sleep 1
alive

xdotool windowfocus --sync "$window" key Escape
code=0
wait "$viewer" || code=$?
[ "$code" -eq 0 ] || fail "Escape: expected exit code 0, got $code"
echo "PASS"
