# What the viewer plays, heard through SDL's disk audio driver (it writes the mixed output in real
# time): start-up is silent and the music starts with the frames; the character's sound plays once
# after 15 s of flight and loops from 59 s; volume 0 is silence with everything playing; without an
# audio device the run is silent and says nothing about sound. Frames are kept cheap (tiny window,
# shadow and occlusion left out) so the flight passes quickly in wall-clock time.
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb
PCM_PROBE=${DUSKVALE_PCM_PROBE:?run the test through ctest}

# An assets folder whose audio folder holds only the given files of the built one.
assets_with_audio() {
    local name=$1 volume=$2
    shift 2
    local dir
    dir=$(windowed_assets "$name" 64 36 "volume = $volume")
    rm "$dir/audio"
    mkdir "$dir/audio"
    for file in "$@"; do
        ln -s "$(realpath "$ASSETS/audio/$file")" "$dir/audio/$file"
    done
    echo "$dir"
}

# Runs the viewer for N frames at STEP (default 0.5) s of flight each, capturing the sound into
# $WORK/NAME.raw.
capture() {
    local name=$1 assets=$2 frames=$3 step=${4:-0.5}
    run "$name" env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/$name.raw" "$VIEWER" --assets "$assets" \
        --fixed-step "$step" --max-frames "$frames" --skip-pass shadow --skip-pass occlusion
    [ "$code" -eq 0 ] || fail "$name: the viewer exited with $code: $(tail -3 "$WORK/$name.err")"
    "$PCM_PROBE" "$WORK/$name.raw" >"$WORK/$name.spans"
    echo "$name: $(tr '\n' ' ' <"$WORK/$name.spans")"
}

spans() { grep -c '^span' "$WORK/$1.spans" || true; }
span_field() { awk -v n="$2" -v f="$3" '/^span/ { if (++i == n) print $f }' "$WORK/$1.spans"; }
length_of() { awk '/^length/ { print $2 }' "$WORK/$1.spans"; }

# Music only: silent while the scene loads, then heard without a gap until the end.
capture music "$(assets_with_audio music 0.5 backgroundMusic.mp3)" 12
[ "$(spans music)" -eq 1 ] || fail "music: expected one span of sound"
awk -v s="$(span_field music 1 2)" 'BEGIN { exit !(s >= 0.2) }' || fail "music: sound before the first frame"
awk -v e="$(span_field music 1 3)" -v l="$(length_of music)" 'BEGIN { exit !(l - e < 0.2) }' ||
    fail "music: it stopped before the end"

# The character's sound alone: nothing before 15 s of flight (frame 30 is exactly 15 s)...
capture before "$(assets_with_audio before 0.5 wendrelSound.mp3)" 30
[ "$(spans before)" -eq 0 ] || fail "the character's sound played by 15 s of flight"
# ...then one single shot of about 3.5 s, silence, and from 59 s a loop that lasts to the end. The
# shot plays in wall-clock time while the flight goes at the frames' pace, so the 44 s of flight
# between the cues are cut into 880 small steps: even at 10 ms a frame they outlast the shot.
capture cues "$(assets_with_audio cues 0.5 wendrelSound.mp3)" 1400 0.05
[ "$(spans cues)" -ge 2 ] || fail "cues: expected the single shot and then the loop"
awk -v s="$(span_field cues 1 2)" -v e="$(span_field cues 1 3)" 'BEGIN { d = e - s; exit !(d > 2.5 && d < 4.0) }' ||
    fail "cues: the single shot lasted $(span_field cues 1 2)..$(span_field cues 1 3) s"
awk -v e="$(span_field cues 1 3)" -v s="$(span_field cues 2 2)" 'BEGIN { exit !(s - e > 1.0) }' ||
    fail "cues: no silence between the single shot and the loop"
last=$(spans cues)
awk -v e="$(span_field cues "$last" 3)" -v l="$(length_of cues)" 'BEGIN { exit !(l - e < 0.3) }' ||
    fail "cues: the loop did not last to the end"

# Volume 0: music and both cues play, and nothing is heard.
capture muted "$(assets_with_audio muted 0 backgroundMusic.mp3 wendrelSound.mp3)" 125
[ "$(spans muted)" -eq 0 ] || fail "volume 0 was heard"

# No audio device: the run goes on silently and prints nothing about sound.
run none env SDL_AUDIODRIVER=nonexistent "$VIEWER" --assets "$(assets_with_audio none 0.5 backgroundMusic.mp3 \
    wendrelSound.mp3)" --fixed-step 0.5 --max-frames 40 --skip-pass shadow --skip-pass occlusion
[ "$code" -eq 0 ] || fail "without an audio device the viewer exited with $code"
if grep -i -E 'sound|audio|alsa|sdl' "$WORK/none.out" "$WORK/none.err"; then
    fail "without an audio device the viewer talked about sound"
fi
echo "PASS"
