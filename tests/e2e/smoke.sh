# The smoke at 30 s of flight, when the camera circles the building's top: the plume of the fire on the
# top floor (emitter C) and the chimney's (D) brighten the night above the building, and the same frame
# with the particle pass left out has none of it, while the rest of the picture stays the same.
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb

assets=$(windowed_assets smoke 320 180)

shot() {
    local name=$1
    shift
    run "$name" env SDL_AUDIODRIVER=dummy "$VIEWER" --assets "$assets" --fixed-step 0.5 --max-frames 60 \
        --skip-pass shadow --screenshot 60:"$WORK/$name.png" "$@"
    [ "$code" -eq 0 ] || fail "$name: the viewer exited with $code"
}
shot with
shot without --skip-pass particles

brightness() { png_stats "$1" "$2" "$3" "$4" "$5" | awk '{ print ($3 + $4 + $5) / 3 }'; }
# Above the building's left half, where both plumes rise into the sky.
plume_with=$(brightness "$WORK/with.png" 60 0 80 70)
plume_without=$(brightness "$WORK/without.png" 60 0 80 70)
echo "plume region: $plume_with with smoke, $plume_without without"
awk -v a="$plume_with" -v b="$plume_without" 'BEGIN { exit !(a > b + 8) }' ||
    fail "no smoke above the building at 30 s"
# The building's lower right, far from both plumes, is the same picture either way.
wall_with=$(brightness "$WORK/with.png" 220 140 60 30)
wall_without=$(brightness "$WORK/without.png" 220 140 60 30)
awk -v a="$wall_with" -v b="$wall_without" 'BEGIN { d = a - b; exit !(d < 1.5 && d > -1.5) }' ||
    fail "leaving out the particles changed the building: $wall_with vs $wall_without"
echo "PASS"
