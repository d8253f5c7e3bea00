# Broken images: a missing, empty, truncated or garbage JPEG (a material texture, a lightmap, the
# character's skin) and PNG, and image headers that claim far more pixels than the file holds. Each
# prints the designed "Texture failed to load at path" line once per model that asks for it and leaves
# that texture without an image; the run renders to its frame limit with exit code 0.
source "$(dirname "$0")/../support/e2e_lib.sh"
source "$(dirname "$0")/../support/robust_lib.sh"
run_under_xvfb
export SDL_AUDIODRIVER=dummy

frames=(--fixed-step 0.5 --max-frames 2)

# TEXT printed exactly COUNT times, each at the end of a line (a mesh name may come before it).
expect_count() {
    local name=$1 text=$2 want=$3 count
    count=$(grep -c -F -- "$text" "$OUT" || true)
    [ "$count" -eq "$want" ] || fail "$name: '$text' printed $count times, expected $want"
}

# The cars' paint: three car models, each reading its own copy once.
for how in missing empty truncated garbage; do
    dir=$(case_assets "jpeg_$how")
    break_file "$dir" textures/car_body.jpg "$how"
    run_case "jpeg_$how" "$dir" "${frames[@]}"
    expect_normal_end "jpeg_$how"
    expect_count "jpeg_$how" "Texture failed to load at path: textures/car_body.jpg" 3
    expect_no_line "jpeg_$how" "$OUT" "Texture failed to load at path: textures/car_body_spec.jpg"
done

# A lightmap chosen by mesh name, and the character's skin that every one of its materials turns into.
dir=$(case_assets lightmap)
break_file "$dir" Lightmaps/Lightmap.001.jpg truncated
run_case lightmap "$dir" "${frames[@]}"
expect_normal_end lightmap
expect_count lightmap "Texture failed to load at path: Lightmaps/Lightmap.001.jpg" 1

dir=$(case_assets skin)
break_file "$dir" textures/newSkin.jpg garbage
run_case skin "$dir" --fixed-step 8.5 --max-frames 7
expect_normal_end skin
expect_line skin "$OUT" "Zeus.objTexture failed to load at path: "

# PNG data where a JPEG is expected (the decoder goes by content), whole and cut in half.
for how in whole truncated; do
    dir=$(case_assets "png_$how")
    target=$(own_path "$dir" textures/car_body.jpg)
    if [ "$how" = whole ]; then
        cp "$ASSETS/textures/smoke1.png" "$target"
    else
        truncated_copy "$ASSETS/textures/smoke1.png" >"$target"
    fi
    run_case "png_$how" "$dir" "${frames[@]}"
    expect_normal_end "png_$how"
    want=$([ "$how" = whole ] && echo 0 || echo 3)
    expect_count "png_$how" "Texture failed to load at path: textures/car_body.jpg" "$want"
done

# Headers claiming 17000 x 17000 pixels, more than the context's largest texture: a 600-byte JPEG would
# otherwise decode into 850 MB for seconds. Refused from the header, like an undecodable file.
dir=$(case_assets jpeg_huge_header)
python3 - "$ASSETS/textures/car_body.jpg" "$(own_path "$dir" textures/car_body.jpg)" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
frame = next(i for i in range(len(data) - 1) if data[i] == 0xFF and data[i + 1] in (0xC0, 0xC1, 0xC2))
data[frame + 5:frame + 9] = (17000).to_bytes(2, "big") * 2
open(sys.argv[2], "wb").write(data)
PY
run_case jpeg_huge_header "$dir" "${frames[@]}"
expect_normal_end jpeg_huge_header
expect_count jpeg_huge_header "Texture failed to load at path: textures/car_body.jpg" 3

# The smoke sprites (textures/smoke0.png sizes the sprite array, smoke1-5 fill it). Without particle
# emitters nothing reads them; with them a missing or broken sprite must not stop the run either.
for how in missing empty truncated garbage; do
    dir=$(case_assets "smoke_$how")
    for n in 0 1 2 3 4 5; do
        break_file "$dir" "textures/smoke$n.png" "$how"
    done
    run_case "smoke_$how" "$dir" --fixed-step 0.5 --max-frames 4
    expect_normal_end "smoke_$how"
done
dir=$(case_assets smoke0_missing)
break_file "$dir" textures/smoke0.png missing
run_case smoke0_missing "$dir" --fixed-step 0.5 --max-frames 4
expect_normal_end smoke0_missing

# Sprites and a texture made of the decoder faults the fuzzer found (tools/fuzz/corpus/texture): a PNG
# chunk claiming 2 GB, a JPEG table of too many codes, a scan with an undefined table. Refused or
# decoded harmlessly; under the sanitizer job an overrun would be reported.
corpus=$(cd "$(dirname "$0")/../../tools/fuzz/corpus/texture" && pwd)
dir=$(case_assets hostile)
cp "$corpus/idat-claims-2gb.png" "$(own_path "$dir" textures/smoke0.png)"
cp "$corpus/huffman-overrun.jpg" "$(own_path "$dir" textures/smoke1.png)"
cp "$corpus/undefined-huffman-table.jpg" "$(own_path "$dir" textures/smoke2.png)"
cp "$corpus/huffman-overrun-fill-bytes.jpg" "$(own_path "$dir" textures/car_body.jpg)"
run_case hostile "$dir" --fixed-step 0.5 --max-frames 4
expect_normal_end hostile
expect_count hostile "Texture failed to load at path: textures/car_body.jpg" 3
echo "PASS: $CASES_RUN cases"
