# The window as a desktop program under real X input (xdotool) on the wall clock: the title shows the
# frame rate; F12 writes a dated PNG of the window's size; Space pauses and resumes; resizes (one, then a
# storm) and F11 and back leave no white band; minimised it renders nothing and leaves the processor
# alone, restored it draws again; a screenshot folder that vanished costs one line; Escape ends with 0.
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb

shots="$WORK/shots"
mkdir -p "$shots"
assets=$(windowed_assets desk 640 360 "automaticCam = true")
# --loop in case the test outlasts one flight; the passes left out only make frames come faster.
"$VIEWER" --assets "$assets" --size 320x180 --loop --screenshot-dir "$shots" --skip-pass shadow \
    --skip-pass occlusion >"$WORK/out" 2>"$WORK/err" &
viewer=$!
trap 'kill "$viewer" ${manager:-} 2>/dev/null || true; rm -rf "$WORK"' EXIT
window=$(viewer_window) || fail "no window within 60 s; the viewer said: $(tail -n 3 "$WORK/err")"

# Presses F12 and prints the new picture's path once the viewer reports it.
shoot() {
    local before
    before=$(grep -c '^Screenshot written to ' "$WORK/out" || true)
    xdotool windowfocus --sync "$window" key F12
    for _ in $(seq 600); do
        [ "$(grep -c '^Screenshot written to ' "$WORK/out")" -gt "$before" ] &&
            grep '^Screenshot written to ' "$WORK/out" | tail -1 | cut -d' ' -f4- && return
        sleep 0.1
    done
    fail "F12 wrote no picture within a minute"
}

# Fails unless the picture has size $2 and scene content in every quarter: the run clears to white, so
# a part the picture does not reach reads near 255.
expect_picture() {
    local w h
    read -r w h _ < <(png_stats "$1")
    [ "${w}x$h" = "$2" ] || fail "$3: the picture is ${w}x$h, expected $2"
    for quarter in "0 0" "$((w / 2)) 0" "0 $((h / 2))" "$((w / 2)) $((h / 2))"; do
        # shellcheck disable=SC2086
        png_stats "$1" $quarter $((w / 2)) $((h / 2)) |
            awk '{ exit !(($3 + $4 + $5) / 3 < 200) }' || fail "$3: the quarter at $quarter is white"
    done
}

for _ in $(seq 300); do
    [[ "$(xdotool getwindowname "$window")" =~ ^Duskvale\ -\ [0-9]+\.[0-9]\ fps$ ]] && break || sleep 0.1
done
[[ "$(xdotool getwindowname "$window")" =~ ^Duskvale\ -\ [0-9]+\.[0-9]\ fps$ ]] || fail "no fps in the title"

first=$(shoot)
[[ "$first" =~ ^$shots/duskvale_[0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}-[0-9]{2}(_[0-9]+)?\.png$ ]] ||
    fail "F12 wrote $first, not a dated name in $shots"
expect_picture "$first" 320x180 "F12 at --size 320x180"

xdotool windowfocus --sync "$window" key space
sleep 1
paused=$(shoot)
sleep 1
read -r over _ < <(png_stats --diff "$paused" "$(shoot)" 0)
[ "$over" -eq 0 ] || fail "paused, two pictures a second apart differ in $over pixels"
xdotool windowfocus --sync "$window" key space
sleep 2
read -r over pixels _ < <(png_stats --diff "$paused" "$(shoot)" 8)
[ "$over" -gt $((pixels / 20)) ] || fail "after Space again the picture stayed ($over of $pixels changed)"

xdotool windowsize --sync "$window" 640 360
sleep 1
expect_picture "$(shoot)" 640x360 "after a resize to 640x360"
for n in $(seq 200); do
    xdotool windowsize "$window" $((200 + n % 7 * 40)) $((120 + n % 5 * 30))
done
xdotool windowsize --sync "$window" 400 300
sleep 2
expect_picture "$(shoot)" 400x300 "after 200 resizes ending at 400x300"
xdotool windowfocus --sync "$window" key F11
sleep 2
expect_picture "$(shoot)" 1920x1080 "F11 on the 1920x1080 screen"
xdotool key F11
sleep 2
expect_picture "$(shoot)" 400x300 "F11 again, back to the window's last size"

# Minimising needs a window manager; openbox comes only now, as the checks above run without one.
openbox --sm-disable >/dev/null 2>&1 &
manager=$!
sleep 2
ticks_in() { # processor ticks (user + system) the viewer uses in $1 seconds
    local start
    start=$(awk '{ print $14 + $15 }' "/proc/$viewer/stat")
    sleep "$1"
    echo $(($(awk '{ print $14 + $15 }' "/proc/$viewer/stat") - start))
}
hz=$(getconf CLK_TCK)
running=$(ticks_in 2)
xdotool windowminimize --sync "$window"
sleep 1
minimised=$(ticks_in 3)
echo "processor ticks ($hz a second): $running in 2 s running, $minimised in 3 s minimised"
[ "$running" -gt $((hz / 2)) ] || fail "running, the viewer used only $running ticks; this proves nothing"
[ "$minimised" -le $((hz / 10)) ] || fail "minimised, the viewer used $minimised ticks in 3 s"
xdotool windowactivate --sync "$window" 2>/dev/null
sleep 1
expect_picture "$(shoot)" 400x300 "restored after minimising"

rm -rf "$shots"
xdotool windowfocus --sync "$window" key F12
wait_for_line "^Could not write a screenshot: the folder $shots does not exist; the run goes on without it.$" \
    "$WORK/out" || fail "no line about the missing folder"
xdotool windowfocus --sync "$window" key Escape
wait "$viewer" || fail "the run ended with $? after Escape, not 0"
echo "PASS"
