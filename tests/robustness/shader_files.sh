# Broken shader sources: every file missing at once, each file with a syntax error in turn, and a
# program that compiles but cannot link. Each failure prints the designed lines ("Could not read file
# ...", "Failed to compile shader!" and the driver's log); the program is left empty and the run
# renders its frames to the limit with exit code 0.
source "$(dirname "$0")/../support/e2e_lib.sh"
source "$(dirname "$0")/../support/robust_lib.sh"
run_under_xvfb
export SDL_AUDIODRIVER=dummy

frames=(--fixed-step 0.5 --max-frames 2)
shaders=$(realpath "$ASSETS/shaders")

# Stage files of the scene's programs, in the order they are read (the particle ones once they exist).
files="simpleDepthShader.frag simpleDepthShader.vert color.frag color.vert basic_lighting_Phong.frag
basic_lighting_Phong.vert simpleDepthWendrel.vert geometryShader.frag skinning_phong_shader.vert
skinning_phong_shader.frag particleFragmentShader.frag particleVertexShader.vert particlegeometrieShader.gm
particlecomputeShader.comp shaderSSAO.vert shaderSSAOBlur.frag shaderSSAO.frag geometryShader.vert"

# The whole shader folder is there but empty: every read fails, every stage fails to compile.
dir=$(case_assets all_missing)
rm "$dir/shaders"
mkdir "$dir/shaders"
run_case all_missing "$dir" "${frames[@]}"
expect_normal_end all_missing
for file in $files; do
    expect_line all_missing "$ERR" "Could not read file ../assets/shaders/$file. File does not exist."
done
reads=$(grep -c "^Could not read file ../assets/shaders/" "$ERR" || true)
compiles=$(grep -c -x "Failed to compile shader!" "$OUT" || true)
[ "$reads" -eq 22 ] || fail "all_missing: $reads read failures, expected 22 (one per stage of the 11 programs)"
[ "$compiles" -eq 22 ] || fail "all_missing: $compiles compile failures, expected 22"

# One file at a time gets a line no GLSL compiler accepts.
for source in "$shaders"/*; do
    file=$(basename "$source")
    dir=$(case_assets "syntax_$file")
    {
        cat "$source"
        echo "this is not glsl;"
    } >"$(own_path "$dir" "shaders/$file")"
    # The buffer-view program is built only once a view other than the lit picture is shown.
    view=()
    [ "$file" = buffer_view.frag ] && view=(--view normals)
    run_case "syntax_$file" "$dir" "${frames[@]}" "${view[@]}"
    expect_normal_end "syntax_$file"
    grep -A1 -x "Failed to compile shader!" "$OUT" | grep -q "error" ||
        fail "syntax_$file: no 'Failed to compile shader!' followed by the driver's error"
    grep -q "^0:[0-9]*([0-9]*): error: .*\`this'" "$OUT" ||
        fail "syntax_$file: the driver's log does not point at the broken line"
done

# Both stages compile, but the fragment stage reads a value the vertex stage never writes: the link
# fails, the final copy program is left empty and the window shows nothing, without a crash.
dir=$(case_assets link)
cat >"$(own_path "$dir" shaders/color.frag)" <<'GLSL'
#version 430 core
in vec3 neverWritten;
out vec4 fragColor;
void main() { fragColor = vec4(neverWritten, 1.0); }
GLSL
run_case link "$dir" "${frames[@]}"
expect_normal_end link
expect_line link "$OUT" "neverWritten"
echo "PASS: $CASES_RUN cases"
