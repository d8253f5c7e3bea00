# Starting the viewer from anywhere: inside its assets folder it runs silently as always; from the
# repository's root build/duskvale finds the build's assets folder beside it, says so in one line and
# renders the same picture; a copy with no assets anywhere prints one line and exits 1 before any
# window; --settings reads a file relative to where the viewer was started, and refuses a missing one.
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb

REPO=$(cd "$SUPPORT_DIR/../.." && pwd)
[ "$(dirname "$VIEWER")/assets" = "$ASSETS" ] || fail "expected the build's assets beside the viewer, got $ASSETS"

# Three frames with the shipped settings, from the folder given first; the screenshot is WORK/NAME.png.
start_in() {
    local name=$1 dir=$2
    shift 2
    code=0
    (cd "$dir" && SDL_AUDIODRIVER=dummy "$@" --fixed-step 0.5 --max-frames 3 \
        --screenshot 3:"$WORK/$name.png") >"$WORK/$name.out" 2>"$WORK/$name.err" || code=$?
    [ "$code" -eq 0 ] || fail "$name: exited with $code: $(head -3 "$WORK/$name.err")"
    if grep -iE "fail|could not|cannot|error" "$WORK/$name.out" "$WORK/$name.err" | head -3; then
        fail "$name: something failed to load"
    fi
}

# The scene at 1.5 s: the lit wall to the right stands out of the dark floor; a blank or black
# picture has neither.
expect_scene() {
    local shot=$1
    read -r w h _ _ _ < <(png_stats "$shot")
    [ "$w $h" = "1280 720" ] || fail "$shot is ${w}x$h, not the shipped settings' 1280x720"
    wall=$(png_stats "$shot" 1040 180 160 100 | awk '{ print ($3 + $4 + $5) / 3 }')
    floor=$(png_stats "$shot" 640 560 320 120 | awk '{ print ($3 + $4 + $5) / 3 }')
    echo "$shot: wall $wall, floor $floor"
    awk -v a="$wall" -v b="$floor" 'BEGIN { exit !(b > 5 && a > b + 5) }' || fail "$shot is not the scene"
}

echo "== inside the assets folder: as always, nothing said about a search"
start_in inside "$ASSETS" "$VIEWER"
expect_scene "$WORK/inside.png"
! grep -q "^duskvale:" "$WORK/inside.out" || fail "a start inside the assets folder announced a search"

echo "== build/duskvale from the repository's root"
start_in root "$REPO" "$VIEWER"
grep -qx "duskvale: no assets in the current folder; using $ASSETS" "$WORK/root.out" ||
    fail "no line naming $ASSETS: $(head -2 "$WORK/root.out")"
read -r over pixels _ < <(png_stats --diff "$WORK/inside.png" "$WORK/root.png" 8)
echo "root vs inside: $over of $pixels pixels differ by more than 8"
[ "$over" -le $((pixels / 1000)) ] || fail "the run from the root rendered another picture"

echo "== a copy of the viewer with no assets anywhere"
mkdir -p "$WORK/lonely/bin"
cp "$VIEWER" "$WORK/lonely/bin/duskvale"
code=0
(cd "$WORK/lonely" && ./bin/duskvale) >"$WORK/lonely.out" 2>"$WORK/lonely.err" || code=$?
cat "$WORK/lonely.err"
[ "$code" -eq 1 ] || fail "exit code $code, expected 1"
[ "$(wc -l <"$WORK/lonely.err")" -eq 1 ] || fail "expected one line on standard error"
[ ! -s "$WORK/lonely.out" ] || fail "printed on standard output (did it start?): $(head -2 "$WORK/lonely.out")"
for place in "$WORK/lonely" "$WORK/lonely/bin/assets" "$WORK/lonely/share/duskvale/assets" "--assets DIR"; do
    grep -qF -- "$place" "$WORK/lonely.err" || fail "the line does not name $place"
done

echo "== --settings FILE, relative to where the viewer was started"
mkdir -p "$WORK/home"
printf '[window]\nwidth = 320\nheight = 180\nfullscreen = false\n' >"$WORK/home/small.ini"
code=0
(cd "$WORK/home" && SDL_AUDIODRIVER=dummy "$VIEWER" --assets "$ASSETS" --settings small.ini --max-frames 1 \
    --screenshot 1:small.png) >"$WORK/small.out" 2>&1 || code=$?
[ "$code" -eq 0 ] || fail "--settings run exited with $code"
read -r w h _ < <(png_stats "$WORK/home/small.png")
[ "$w $h" = "320 180" ] || fail "--settings small.ini gave a ${w}x$h window"

for bad in missing.ini "$WORK/home"; do
    run settings_bad "$VIEWER" --assets "$ASSETS" --settings "$bad"
    cat "$WORK/settings_bad.err"
    [ "$code" -eq 2 ] || fail "--settings $bad: exit code $code, expected 2"
    [ "$(wc -l <"$WORK/settings_bad.err")" -eq 1 ] && [ ! -s "$WORK/settings_bad.out" ] ||
        fail "--settings $bad: expected one line on standard error and nothing else"
    grep -qF -- "--settings" "$WORK/settings_bad.err" || fail "the line does not name --settings"
done
echo "PASS"
