# Installing: cmake --install into a temporary prefix puts the program, real copies of every asset,
# the README, a valid desktop entry and its icons in place; the installed viewer, started from an
# unrelated folder, renders the same scene as the build with nothing failing to load; and cpack's
# .deb holds exactly the same files and declares the packages the viewer needs.
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb

BUILD=$(dirname "$VIEWER")
prefix="$WORK/prefix with space"
data="$prefix/share/duskvale/assets"

echo "== cmake --install"
cmake --install "$BUILD" --prefix "$prefix" >"$WORK/install.log" || fail "cmake --install failed"
for file in bin/duskvale share/duskvale/assets/settings.ini share/duskvale/assets/shaders/basic_lighting_Phong.vert \
    share/duskvale/assets/models/car.obj share/duskvale/assets/animations/WendrelAnimation.fbx \
    share/duskvale/assets/textures/smoke1.png share/duskvale/assets/audio/backgroundMusic.mp3 \
    share/doc/duskvale/README.md share/applications/duskvale.desktop \
    share/icons/hicolor/48x48/apps/duskvale.png share/icons/hicolor/256x256/apps/duskvale.png; do
    [ -f "$prefix/$file" ] || fail "not installed: $file"
done
[ -x "$prefix/bin/duskvale" ] || fail "the installed program is not executable"
# The build's assets folder links to the source tree; an install must not.
links=$(find "$prefix" -type l)
[ -z "$links" ] || fail "installed links instead of files: $links"
diff -r "$ASSETS" "$data" || fail "the installed assets differ from the build's"
desktop-file-validate "$prefix/share/applications/duskvale.desktop" || fail "invalid desktop entry"
grep -qx "Exec=duskvale" "$prefix/share/applications/duskvale.desktop" || fail "the entry does not start duskvale"
grep -qx "Icon=duskvale" "$prefix/share/applications/duskvale.desktop" || fail "the entry names no icon"
for size in 48 64 128 256; do
    read -r w h _ < <(png_stats "$prefix/share/icons/hicolor/${size}x$size/apps/duskvale.png")
    [ "$w $h" = "$size $size" ] || fail "the ${size}x$size icon is ${w}x$h"
done

echo "== the installed viewer, started from an unrelated folder, next to the build from its assets"
shot() {
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
mkdir -p "$WORK/elsewhere"
chmod -R a-w "$data" # installed data is read-only for its user
shot installed "$WORK/elsewhere" "$prefix/bin/duskvale"
chmod -R u+w "$data"
shot build "$ASSETS" "$VIEWER"
grep -qx "duskvale: no assets in the current folder; using $data" "$WORK/installed.out" ||
    fail "no line naming the installed data folder: $(head -2 "$WORK/installed.out")"
read -r w h _ < <(png_stats "$WORK/installed.png")
[ "$w $h" = "1280 720" ] || fail "the installed settings were not read: ${w}x$h window"
read -r over pixels _ < <(png_stats --diff "$WORK/build.png" "$WORK/installed.png" 8)
echo "installed vs build: $over of $pixels pixels differ by more than 8"
[ "$over" -le $((pixels / 1000)) ] || fail "the installed viewer rendered another picture"
# Not two blank pictures alike: the lit wall on the right stands out of the dark floor at 1.5 s.
wall=$(png_stats "$WORK/installed.png" 1040 180 160 100 | awk '{ print ($3 + $4 + $5) / 3 }')
floor=$(png_stats "$WORK/installed.png" 640 560 320 120 | awk '{ print ($3 + $4 + $5) / 3 }')
echo "installed: wall $wall, floor $floor"
awk -v a="$wall" -v b="$floor" 'BEGIN { exit !(b > 5 && a > b + 5) }' || fail "the installed picture is not the scene"

echo "== cpack -G DEB"
(cd "$BUILD" && cpack -G DEB -B "$WORK/deb") >"$WORK/cpack.log" 2>&1 || { cat "$WORK/cpack.log"; fail "cpack failed"; }
deb=$(ls "$WORK"/deb/duskvale_*.deb)
dpkg-deb --info "$deb" >"$WORK/info.txt"
grep -E "^ (Package|Version|Architecture|Depends):" "$WORK/info.txt"
depends=$(sed -n 's/^ Depends: //p' "$WORK/info.txt")
names=$(sed 's/ ([^)]*)//g; s/, /\n/g' <<<"$depends")
for package in libc6 libstdc++6 libglfw3 libassimp5 libsdl2-mixer-2.0-0 libinireader0 libgl1; do
    grep -qxF "$package" <<<"$names" || fail "Depends does not name $package: $depends"
done
# The package installs the same files as cmake --install, under /usr, and no links.
dpkg-deb --contents "$deb" >"$WORK/contents.txt"
! grep -q "^l" "$WORK/contents.txt" || fail "the package holds links: $(grep "^l" "$WORK/contents.txt" | head -2)"
awk '/^-/ { print $NF }' "$WORK/contents.txt" | sed 's|^\./usr/||' | sort >"$WORK/deb_files.txt"
(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) >"$WORK/prefix_files.txt"
diff "$WORK/prefix_files.txt" "$WORK/deb_files.txt" || fail "the package and cmake --install differ"
echo "$(wc -l <"$WORK/deb_files.txt") files in the package"
echo "PASS"
