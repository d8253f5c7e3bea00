# Every buffer view at 70 s of the flight (the street in front of the camera), 320 x 180, checked for
# a property only the right buffer has; views of buffers whose pass was left out show the cleared
# buffer. (An unknown --view is refused in the command line script.)
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb

assets=$(windowed_assets views 320 180 "automaticCam = true")

# WORK/<tag>.png: frame 7 at 10 s per frame, i.e. the flight at 70 s, without the drifting smoke.
shot() {
    local tag=$1
    shift
    "$VIEWER" --assets "$assets" --fixed-step 10 --max-frames 7 --screenshot "7:$WORK/$tag.png" \
        --skip-pass particles "$@" >"$WORK/$tag.out" 2>"$WORK/$tag.err" ||
        fail "the $tag run failed: $(tail -3 "$WORK/$tag.err")"
}

# "R G B" mean of a rectangle X Y W H.
rgb() {
    png_stats "$WORK/$1.png" "${@:2}" | awk '{ print $3, $4, $5 }'
}

# Pixels of two whole shots that differ by more than 20/255 in some channel.
differing() {
    png_stats --diff "$WORK/$1.png" "$WORK/$2.png" 20 | awk '{ print $1 }'
}

# Asserts an awk condition over named values, e.g. check "normals street" "g > r + 80" "$(rgb ...)".
check() {
    local what=$1 condition=$2 values=$3
    awk -v v="$values" "BEGIN { split(v, c, \" \"); r = c[1]; g = c[2]; b = c[3]; exit !($condition) }" ||
        fail "$what: expected $condition, got RGB $values"
}

STREET=(110 150 40 20) # the road a few metres ahead
LAMP=(180 150 30 20)   # the road in a street lamp's pool
SKY=(20 5 60 20)       # the night sky (the background model)

for view in lit albedo normals positions baked-light shadow occlusion blurred-occlusion depth shadow-map; do
    shot "$view" --view "$view"
done

# Albedo: the diffuse texture without any light: grey asphalt, no lamp pool, and nothing like the lit
# picture over most of the frame.
check "albedo street" "r < g + 8 && g < r + 8 && b < r + 8 && r > 30" "$(rgb albedo "${STREET[@]}")"
lamp_lit=$(rgb lit "${LAMP[@]}" | awk '{ print $1 }')
check "albedo under the lamp (lit picture: red $lamp_lit)" "r < $lamp_lit - 40" "$(rgb albedo "${LAMP[@]}")"
[ "$(differing lit albedo)" -gt 10000 ] || fail "the albedo view looks like the lit picture"

# Normals: the street in front is dominated by the up axis (green).
check "normals street" "g > 220 && g > r + 80 && g > b + 80" "$(rgb normals "${STREET[@]}")"

# Positions: the sky far away is strongly blue (-z), the street close by is not; x and y sit mid-range.
check "positions sky" "b > 200" "$(rgb positions "${SKY[@]}")"
check "positions street" "b < 100 && r > 80 && r < 180 && g > 80 && g < 180" "$(rgb positions "${STREET[@]}")"

# Baked light: the sky has no lightmap (black), the lightmapped street has.
check "baked light sky" "r + g + b < 6" "$(rgb baked-light "${SKY[@]}")"
check "baked light street" "r + g + b > 150" "$(rgb baked-light "${STREET[@]}")"

# Shadow term: grey levels only, the open street lit by the moon, the sky turned away from it.
check "shadow street" "r == g && g == b && r > 200" "$(rgb shadow "${STREET[@]}")"
check "shadow sky" "r < 10" "$(rgb shadow "${SKY[@]}")"

# Occlusion, raw and blurred: grey, white where nothing occludes (the sky), although the lit sky is
# dark; the blur changes pixels but keeps the mean.
for view in occlusion blurred-occlusion; do
    check "$view sky" "r == g && g == b && r > 240" "$(rgb "$view" "${SKY[@]}")"
    check "$view street" "r == g && g == b && r > 150" "$(rgb "$view" "${STREET[@]}")"
done
check "lit sky" "r + g + b < 100" "$(rgb lit "${SKY[@]}")"
raw_mean=$(rgb occlusion | awk '{ print $1 }')
check "blurred occlusion mean against raw $raw_mean" "r > $raw_mean - 4 && r < $raw_mean + 4" "$(rgb blurred-occlusion)"
[ "$(png_stats --diff "$WORK/occlusion.png" "$WORK/blurred-occlusion.png" 8 | awk '{ print $1 }')" -gt 500 ] ||
    fail "the blurred occlusion view shows the raw term"

# Depth: grey, dark close by, light far away.
check "depth street" "r == g && g == b && r < 60" "$(rgb depth "${STREET[@]}")"
check "depth sky" "r == g && g == b && r > 180" "$(rgb depth "${SKY[@]}")"

# Shadow map: the square map between black bars, and not the camera's depth.
check "shadow map left bar" "r + g + b == 0" "$(rgb shadow-map 0 0 60 180)"
check "shadow map middle" "r > 60" "$(rgb shadow-map 70 0 180 180)"
[ "$(differing depth shadow-map)" -gt 20000 ] || fail "the shadow-map view looks like the depth view"

# Views of buffers whose pass was left out show the cleared buffer (white), never an older frame.
shot skipped-occlusion --view occlusion --skip-pass occlusion
shot skipped-blur --view blurred-occlusion --skip-pass occlusion
shot skipped-shadow-map --view shadow-map --skip-pass shadow
check "occlusion left out" "r == 255 && g == 255 && b == 255" "$(rgb skipped-occlusion)"
check "blurred occlusion left out" "r == 255 && g == 255 && b == 255" "$(rgb skipped-blur)"
check "shadow map left out" "r == 255 && g == 255 && b == 255" "$(rgb skipped-shadow-map 70 0 180 180)"
echo "PASS"
