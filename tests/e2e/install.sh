# Starting from anywhere and installing. Inside its assets folder the viewer runs silently as always;
# build/duskvale from the repository's root and the viewer installed into a temporary prefix, started
# from an unrelated folder, announce the folder they found and render that same picture with nothing
# failing to load; a copy with no assets anywhere prints one line and exits 1; --settings reads a file
# relative to where the viewer started and refuses a missing one; cpack's .deb holds exactly the
# installed files and names the packages the viewer needs.
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb

REPO=$(cd "$SUPPORT_DIR/../.." && pwd)
BUILD=$(dirname "$VIEWER")
prefix="$WORK/prefix with space"
data="$prefix/share/duskvale/assets"
[ "$BUILD/assets" = "$ASSETS" ] || fail "expected the build's assets beside the viewer, got $ASSETS"

# Three frames with the shipped settings from folder DIR; the screenshot is WORK/NAME.png.
start_in() {
    local name=$1 dir=$2
    shift 2
    code=0
    (cd "$dir" && SDL_AUDIODRIVER=dummy "$@" --fixed-step 0.5 --max-frames 3 \
        --screenshot 3:"$WORK/$name.png") >"$WORK/$name.out" 2>"$WORK/$name.err" || code=$?
    [ "$code" -eq 0 ] || fail "$name: exited with $code: $(head -3 "$WORK/$name.err")"
    ! grep -iE "fail|could not|cannot|error" "$WORK/$name.out" "$WORK/$name.err" || fail "$name: a load failed"
}

# The same picture as the run inside the assets folder, which must itself be the scene at 1.5 s: the
# lit wall on the right stands out of the dark floor (a black or blank picture has neither).
expect_reference_picture() {
    local name=$1
    read -r over pixels _ < <(png_stats --diff "$WORK/inside.png" "$WORK/$name.png" 8)
    [ "$over" -le $((pixels / 1000)) ] || fail "$name rendered another picture ($over of $pixels pixels differ)"
}

start_in inside "$ASSETS" "$VIEWER"
! grep "^duskvale:" "$WORK/inside.out" || fail "a start inside the assets folder announced a search"
read -r w h _ < <(png_stats "$WORK/inside.png")
wall=$(png_stats "$WORK/inside.png" 1040 180 160 100 | awk '{ print ($3 + $4 + $5) / 3 }')
floor=$(png_stats "$WORK/inside.png" 640 560 320 120 | awk '{ print ($3 + $4 + $5) / 3 }')
[ "$w $h" = "1280 720" ] || fail "not the shipped settings' 1280x720 window"
awk -v a="$wall" -v b="$floor" 'BEGIN { exit !(b > 5 && a > b + 5) }' || fail "not the scene: wall $wall, floor $floor"
start_in root "$REPO" "$VIEWER"
grep -qx "duskvale: no assets in the current folder; using $ASSETS" "$WORK/root.out" ||
    fail "no line naming $ASSETS: $(head -1 "$WORK/root.out")"
expect_reference_picture root

cmake --install "$BUILD" --prefix "$prefix" >"$WORK/install.log" || fail "cmake --install failed"
for file in bin/duskvale share/doc/duskvale/README.md share/applications/duskvale.desktop; do
    [ -f "$prefix/$file" ] || fail "not installed: $file"
done
# The build's assets folder links into the source tree; the installed one holds the files themselves.
[ -z "$(find "$prefix" -type l)" ] || fail "installed links: $(find "$prefix" -type l | head -3)"
diff -r "$ASSETS" "$data" || fail "the installed assets differ from the build's"
desktop-file-validate "$prefix/share/applications/duskvale.desktop" || fail "invalid desktop entry"
grep -qx "Icon=duskvale" "$prefix/share/applications/duskvale.desktop" || fail "the entry names no icon"
for size in 48 64 128 256; do
    read -r w h _ < <(png_stats "$prefix/share/icons/hicolor/${size}x$size/apps/duskvale.png")
    [ "$w $h" = "$size $size" ] || fail "the ${size}x$size icon is ${w}x$h"
done
mkdir -p "$WORK/elsewhere"
start_in installed "$WORK/elsewhere" "$prefix/bin/duskvale"
grep -qx "duskvale: no assets in the current folder; using $data" "$WORK/installed.out" ||
    fail "no line naming the installed data folder: $(head -1 "$WORK/installed.out")"
expect_reference_picture installed

mkdir -p "$WORK/lonely/bin"
cp "$VIEWER" "$WORK/lonely/bin/duskvale"
code=0
(cd "$WORK/lonely" && ./bin/duskvale) >"$WORK/lonely.out" 2>"$WORK/lonely.err" || code=$?
[ "$code" -eq 1 ] || fail "exit code $code, expected 1"
[ "$(wc -l <"$WORK/lonely.err")" -eq 1 ] && [ ! -s "$WORK/lonely.out" ] ||
    fail "expected one line on standard error and nothing else (did it start?)"
for place in "$WORK/lonely" "$WORK/lonely/bin/assets" "$WORK/lonely/share/duskvale/assets" "--assets DIR"; do
    grep -qF -- "$place" "$WORK/lonely.err" || fail "the line does not name $place"
done

printf '[window]\nwidth = 320\nheight = 180\nfullscreen = false\n' >"$WORK/elsewhere/small.ini"
code=0
(cd "$WORK/elsewhere" && SDL_AUDIODRIVER=dummy "$prefix/bin/duskvale" --settings small.ini --max-frames 1 \
    --screenshot 1:small.png) >"$WORK/small.out" 2>&1 || code=$?
[ "$code" -eq 0 ] || fail "--settings run exited with $code"
read -r w h _ < <(png_stats "$WORK/elsewhere/small.png")
[ "$w $h" = "320 180" ] || fail "--settings small.ini gave a ${w}x$h window"
for bad in missing.ini "$WORK/elsewhere"; do
    run settings_bad "$VIEWER" --assets "$ASSETS" --settings "$bad"
    [ "$code" -eq 2 ] || fail "--settings $bad: exit code $code, expected 2"
    [ "$(wc -l <"$WORK/settings_bad.err")" -eq 1 ] && [ ! -s "$WORK/settings_bad.out" ] ||
        fail "--settings $bad: expected one line on standard error and nothing else"
done

(cd "$BUILD" && cpack -G DEB -B "$WORK/deb") >"$WORK/cpack.log" 2>&1 || { cat "$WORK/cpack.log"; fail "cpack failed"; }
deb=$(ls "$WORK"/deb/duskvale_*.deb)
dpkg-deb --info "$deb" >"$WORK/info.txt"
names=$(sed -n 's/^ Depends: //p' "$WORK/info.txt" | sed 's/ ([^)]*)//g; s/, /\n/g')
for package in libc6 libstdc++6 libglfw3 libassimp5 libsdl2-mixer-2.0-0 libinireader0 libgl1; do
    grep -qxF "$package" <<<"$names" || fail "Depends does not name $package"
done
# The package installs the same files as cmake --install, under /usr, and no links.
dpkg-deb --contents "$deb" >"$WORK/contents.txt"
! grep "^l" "$WORK/contents.txt" || fail "the package holds links"
awk '/^-/ { print $NF }' "$WORK/contents.txt" | sed 's|^\./usr/||' | sort >"$WORK/deb_files.txt"
(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) >"$WORK/prefix_files.txt"
diff "$WORK/prefix_files.txt" "$WORK/deb_files.txt" || fail "the package and cmake --install differ"
echo "PASS"
