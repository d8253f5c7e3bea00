# Sound files and the platform: a missing, empty, truncated or garbage MP3 for the music and for the
# character sound, no audio device, a context below OpenGL 4.3 and no display. The viewer prints
# nothing about sound and runs on silently; without OpenGL 4.3 or a display it says why and exits 1.
source "$(dirname "$0")/../support/e2e_lib.sh"
source "$(dirname "$0")/../support/robust_lib.sh"
run_under_xvfb
export SDL_AUDIODRIVER=dummy

# 60 s of flight at 20 s a frame: the music starts before frame 1, the character sound plays once in
# frame 1 (past 15 s) and loops from frame 3 (past 59 s).
frames=(--fixed-step 20 --max-frames 3)

expect_silence() {
    expect_no_line "$1" "$OUT" "audio/"
    expect_no_line "$1" "$OUT" ".mp3"
}

for file in backgroundMusic wendrelSound; do
    for how in missing empty truncated garbage; do
        name="${file}_$how"
        dir=$(case_assets "$name")
        break_file "$dir" "audio/$file.mp3" "$how"
        run_case "$name" "$dir" "${frames[@]}"
        expect_normal_end "$name"
        expect_silence "$name"
        library=$(grep -v -F 'Could not read file' "$ERR" | head -c 120 | tr '\n' ' ' || true)
    done
done

# No audio device at all: no engine, so every sound call is skipped.
dir=$(case_assets no_audio_device)
SDL_AUDIODRIVER=nonexistent run_case no_audio_device "$dir" "${frames[@]}"
expect_normal_end no_audio_device
expect_silence no_audio_device

# Contexts below 4.3: refused with one line naming both versions, before any file is loaded.
for version in 3.3 4.2; do
    dir=$(case_assets "gl_$version")
    MESA_GL_VERSION_OVERRIDE=$version run_case "gl_$version" "$dir" --max-frames 2
    expect_code "gl_$version" 1
    expect_line "gl_$version" "$ERR" "Duskvale needs OpenGL 4.3, but this system offers OpenGL $version"
    [ "$(wc -l <"$ERR")" -eq 1 ] || fail "gl_$version: more than one line on stderr: $(cat "$ERR")"
    expect_no_line "gl_$version" "$OUT" "new Model"
done

# No display: GLFW's own line, exit 1, and no shader is read.
dir=$(case_assets no_display)
DISPLAY= WAYLAND_DISPLAY= run_case no_display "$dir" --max-frames 2
expect_code no_display 1
grep -q '^GLFW error [0-9-]*: ' "$OUT" || fail "no_display: no GLFW error line: $(cat "$OUT")"
expect_no_line no_display "$ERR" "Could not read file"
echo "PASS: $CASES_RUN cases"
