# Screenshots of the scene at fixed flight times, 320 x 180 with one second of flight per frame, checked
# for what each pass adds: the moon's shadows, contact darkening (H), gamma (G), a lamp's pool, the
# character only inside its windows, the smoke above the building; and two frames against golden images.
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb

GOLDEN_DIR=$(cd "$(dirname "$0")/../golden" && pwd)
GOLDEN_SETTINGS="[window]
width = 320
height = 180
fullscreen = false
automaticCam = true"
# Frames kept as golden images: the top floor at 2 s, the street at 70 s. At most 0.1 % of the pixels
# may differ by more than 5/255 in a channel: repeated runs on llvmpipe give identical pictures; the
# margin is for other CPUs and Mesa builds.
GOLDEN_FRAMES="2 70"
GOLDEN_TOLERANCE=5
GOLDEN_MAX_PIXELS=57

small=$(assets_with_settings small <<<"$GOLDEN_SETTINGS")
gammaOff=$(assets_with_settings gamma_off <<<"$GOLDEN_SETTINGS
gammaEnabled = false")

# Runs the flight at one second per frame up to the last frame asked for, writing WORK/<tag>/fN.png
# for each frame N; the smoke (which drifts with its own random source) is left out but in the run
# tagged "smoke".
flight() {
    local tag=$1 assets=$2 frames=$3 skip=(--skip-pass particles)
    shift 3
    [ "$tag" != smoke ] || skip=()
    mkdir -p "$WORK/$tag"
    local shots=() last=0
    for frame in $frames; do
        shots+=(--screenshot "$frame:$WORK/$tag/f$frame.png")
        last=$frame
    done
    "$VIEWER" --assets "$assets" --fixed-step 1 --max-frames "$last" "${skip[@]}" \
        "${shots[@]}" "$@" >"$WORK/$tag.out" 2>"$WORK/$tag.err" || fail "the $tag run failed: $(tail -3 "$WORK/$tag.err")"
    for frame in $frames; do
        [ -f "$WORK/$tag/f$frame.png" ] || fail "the $tag run wrote no frame $frame"
    done
}

# Mean brightness (0 ... 255) of a rectangle X Y W H of a screenshot.
brightness() {
    png_stats "$@" | awk '{ printf "%d", ($3 + $4 + $5) / 3 }'
}

# Pixels of a rectangle (or of the whole image) that differ by more than THRESHOLD in a channel.
differing() {
    png_stats --diff "$@" | awk '{ print $1 }'
}

flight normal "$small" "2 17 30 40 70 85"
# DUSKVALE_RENEW_GOLDEN=1 rewrites the golden images from this run instead, after a change meant to
# alter the picture; look at them before committing.
if [ -n "${DUSKVALE_RENEW_GOLDEN:-}" ]; then
    for frame in $GOLDEN_FRAMES; do cp "$WORK/normal/f$frame.png" "$GOLDEN_DIR/static_scene_f$frame.png"; done
    echo "renewed the golden images in $GOLDEN_DIR" && exit 0
fi
flight smoke "$small" "30"
flight no_shadow "$small" "2" --skip-pass shadow
flight no_occlusion "$small" "2" --skip-pass occlusion
flight gamma_off "$gammaOff" "2"
flight no_character "$small" "17 40 70 85" --skip-pass character
flight no_lamps "$small" "85" --skip-pass lamps

# 2 s, top floor: moonlight falls through a window onto the floor; the floor around it lies in the
# wall's shadow. Without the shadow map the whole floor is moonlit.
patch="60 140 20 10"
shade="0 150 40 20"
lit=$(brightness "$WORK/normal/f2.png" $patch)
shadowed=$(brightness "$WORK/normal/f2.png" $shade)
unshadowed=$(brightness "$WORK/no_shadow/f2.png" $shade)
[ "$lit" -ge $((shadowed + 4)) ] || fail "the moonlit patch ($lit) is not brighter than the shadowed floor ($shadowed)"
[ "$unshadowed" -ge $((shadowed + 5)) ] ||
    fail "the shadowed floor ($shadowed) is not darker than without the shadow pass ($unshadowed)"
[ "$(brightness "$WORK/no_shadow/f2.png" $patch)" -le $((lit + 3)) ] ||
    fail "the moonlit patch changes without the shadow pass: the moon reaches it either way"

# H: contact darkening in the creases of the room; switched off, they and only they get lighter.
creases=$(differing "$WORK/normal/f2.png" "$WORK/no_occlusion/f2.png" 3)
[ "$creases" -ge 2000 ] || fail "switching occlusion off changes only $creases pixels by more than 3/255"
[ "$(brightness "$WORK/normal/f2.png")" -lt "$(brightness "$WORK/no_occlusion/f2.png")" ] ||
    fail "occlusion does not darken the image"

# G: without gamma correction the night falls to near black.
corrected=$(brightness "$WORK/normal/f2.png")
plain=$(brightness "$WORK/gamma_off/f2.png")
[ "$corrected" -ge $((plain + 8)) ] || fail "gamma correction ($corrected) barely brightens the image ($plain)"

# 85 s, street level: the lamp ahead pools on the road; with the lamps out the pool is gone.
pool="120 120 80 30"
on=$(brightness "$WORK/normal/f85.png" $pool)
out=$(brightness "$WORK/no_lamps/f85.png" $pool)
[ "$on" -ge $((out + 15)) ] || fail "the lamp's pool ($on) is not brighter than with the lamps out ($out)"

# The character walks on the top floor at 17 s and in front of the camera at 85 s; at 40 s it is
# not drawn, and at 70 s it walks behind the camera. Only its own pixels (and its shadow) change.
[ "$(differing "$WORK/normal/f17.png" "$WORK/no_character/f17.png" 8 218 143 22 28)" -ge 40 ] ||
    fail "the character is not on screen at 17 s"
[ "$(differing "$WORK/normal/f85.png" "$WORK/no_character/f85.png" 8 64 150 50 30)" -ge 150 ] ||
    fail "the character is not on screen at 85 s"
[ "$(differing "$WORK/normal/f85.png" "$WORK/no_character/f85.png" 8 200 0 120 100)" -eq 0 ] ||
    fail "leaving the character out changes the picture far from it at 85 s"
for frame in 40 70; do
    [ "$(differing "$WORK/normal/f$frame.png" "$WORK/no_character/f$frame.png" 0)" -eq 0 ] ||
        fail "the character shows at $frame s"
done

# 30 s, circling the building's top: the plumes of the top floor's fire and of the chimney brighten the
# night above the building's left half, while the building's lower right stays the same picture.
plume=$(brightness "$WORK/smoke/f30.png" 60 0 80 70)
sky=$(brightness "$WORK/normal/f30.png" 60 0 80 70)
[ "$plume" -ge $((sky + 8)) ] || fail "no smoke above the building at 30 s ($plume, $sky without smoke)"
wall=$(brightness "$WORK/smoke/f30.png" 220 140 60 30)
[ "$((wall - $(brightness "$WORK/normal/f30.png" 220 140 60 30)))" -le 1 ] ||
    fail "the smoke brightens the building's lower right at 30 s ($wall)"
[ "$(($(brightness "$WORK/normal/f30.png" 220 140 60 30) - wall))" -le 1 ] ||
    fail "the smoke darkens the building's lower right at 30 s ($wall)"

# Golden images: at most GOLDEN_MAX_PIXELS pixels may differ by more than GOLDEN_TOLERANCE in a channel.
for frame in $GOLDEN_FRAMES; do
    golden="$GOLDEN_DIR/static_scene_f$frame.png"
    [ -f "$golden" ] || fail "$golden is missing (DUSKVALE_RENEW_GOLDEN=1 writes it)"
    over=$(differing "$golden" "$WORK/normal/f$frame.png" "$GOLDEN_TOLERANCE")
    [ "$over" -le "$GOLDEN_MAX_PIXELS" ] || {
        cp "$WORK/normal/f$frame.png" "${TMPDIR:-/tmp}/static_scene_f$frame.actual.png"
        fail "frame $frame: $over pixels differ from $golden by more than $GOLDEN_TOLERANCE/255" \
            "(kept as ${TMPDIR:-/tmp}/static_scene_f$frame.actual.png; DUSKVALE_RENEW_GOLDEN=1 renews" \
            "the golden images after an intended change)"
    }
    echo "golden frame $frame: $over pixels beyond $GOLDEN_TOLERANCE/255"
done
echo "PASS"
