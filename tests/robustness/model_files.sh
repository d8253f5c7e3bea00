# Broken scene files: a missing, empty, truncated or garbage OBJ, MTL and FBX, and an OBJ whose faces
# point past its vertices. Each import that fails prints the designed ASSIMP line and leaves an empty
# model; the run loads all fifteen models and renders to its frame limit with exit code 0.
source "$(dirname "$0")/../support/e2e_lib.sh"
source "$(dirname "$0")/../support/robust_lib.sh"
run_under_xvfb
export SDL_AUDIODRIVER=dummy

# Every static object is drawn in every frame, so a few frames show that the passes survive it.
frames=(--fixed-step 0.5 --max-frames 2)
# The character's time windows: frames at 17, 25.5 and 59.5 s of flight reach each of them.
character_frames=(--fixed-step 8.5 --max-frames 7)

# The car file is loaded three times (cars A, B and C), so every car line comes three times.
expect_car_lines() {
    local name=$1 text=$2 count
    count=$(grep -c -F -- "$text" "$OUT" || true)
    [ "$count" -eq 3 ] || fail "$name: '$text' printed $count times, expected once per car: $(grep -m3 ASSIMP "$OUT")"
}

broken_car() {
    local how=$1 dir
    dir=$(case_assets "obj_$how")
    break_file "$dir" models/car.obj "$how"
    run_case "obj_$how" "$dir" "${frames[@]}"
    expect_normal_end "obj_$how"
}

broken_car missing
expect_car_lines obj_missing 'new Model-----------ERROR::ASSIMP:: Unable to open file "models/car.obj".'

broken_car empty
expect_car_lines obj_empty "new Model-----------ERROR::ASSIMP:: OBJ-file is too small."

# The first half still holds whole meshes: they load, the rest is simply not there.
broken_car truncated
expect_no_line obj_truncated "$OUT" "ERROR::ASSIMP::"
expect_car_lines obj_truncated " Mesh 0 'Body': vertices 1266"
expect_no_line obj_truncated "$OUT" " Mesh 1 'Trim'"

broken_car garbage
expect_car_lines obj_garbage "new Model-----------Parsing 0 meshes"

# Face indices past the vertex list, zero and negative: refused by the importer, never read.
for faces in "f 1 2 99999" "f 0 0 0" "f -9 -9 -9"; do
    dir=$(case_assets "obj_index_${faces//[ -]/_}")
    printf 'v 0 0 0\nv 1 0 0\nv 0 1 0\n%s\n' "$faces" >"$(own_path "$dir" models/car.obj)"
    run_case obj_index "$dir" "${frames[@]}"
    expect_normal_end "obj_index"
    count=$(grep -c "new Model-----------ERROR::ASSIMP:: OBJ: " "$OUT" || true)
    [ "$count" -eq 3 ] || fail "obj_index '$faces': $count import errors, expected 3"
done

# Not-a-number and infinite coordinates load; the passes draw them without harm.
dir=$(case_assets obj_nan)
printf 'v nan inf 1e999\nv 1 0 0\nv 0 1 0\nf 1 2 3\n' >"$(own_path "$dir" models/car.obj)"
run_case obj_nan "$dir" "${frames[@]}"
expect_normal_end obj_nan

# The materials file: without it (or with nothing usable in it) the cars keep their meshes and lose
# their textures; no texture of the car is asked for, so none fails.
for how in missing empty truncated garbage; do
    dir=$(case_assets "mtl_$how")
    break_file "$dir" models/car.mtl "$how"
    run_case "mtl_$how" "$dir" "${frames[@]}"
    expect_normal_end "mtl_$how"
    expect_no_line "mtl_$how" "$OUT" "ERROR::ASSIMP::"
    expect_car_lines "mtl_$how" " Mesh 5 'Rims'"
done

# A materials file naming a folder, an empty device and a missing image as textures.
dir=$(case_assets mtl_paths)
printf 'newmtl CarPaint\nmap_Kd audio\nmap_Ks /dev/null\nnewmtl CarGlass\nmap_Kd textures/no_such.jpg\nKd nan nan nan\nNs -1e999\n' >"$(own_path "$dir" models/car.mtl)"
run_case mtl_paths "$dir" "${frames[@]}"
expect_normal_end mtl_paths
for path in audio /dev/null textures/no_such.jpg; do
    expect_car_lines mtl_paths "Texture failed to load at path: $path"
done

# The animated character: without it nothing is drawn in its time windows; the flight goes on.
for how in missing empty truncated garbage; do
    dir=$(case_assets "fbx_$how")
    break_file "$dir" animations/WendrelAnimation.fbx "$how"
    run_case "fbx_$how" "$dir" "${character_frames[@]}"
    expect_normal_end "fbx_$how"
    line=$(grep "ERROR::ASSIMP::" "$OUT" || true)
    [ "$(grep -c . <<<"$line")" -eq 1 ] || fail "fbx_$how: expected one import error, got: $line"
done

# A binary FBX header followed by junk takes the importer's other parser.
dir=$(case_assets fbx_binary)
{
    printf 'Kaydara FBX Binary  \0\032\0\350\034\0\0'
    garbage 3000
} >"$(own_path "$dir" animations/WendrelAnimation.fbx)"
run_case fbx_binary "$dir" "${character_frames[@]}"
expect_normal_end fbx_binary
expect_line fbx_binary "$OUT" "new Model-----------ERROR::ASSIMP:: FBX-"
echo "PASS: $CASES_RUN cases"
