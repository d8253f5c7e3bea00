#!/usr/bin/env bash
# Renders the desktop icon from the scene by the viewer itself: a 512 x 512 window at 40 s of the
# flight (the building from above with both smoke plumes), cropped to the building, lifted out of the
# night's darkness so it reads on a light panel, and scaled to the hicolor sizes in tools/install/icons.
#   bash tools/install/make_icon.sh [BUILD_DIR]     (default: build; needs Xvfb and ImageMagick)
# The PNGs are kept in the tree rather than made by the build: rendering takes a couple of minutes on
# a software renderer and would make every build and package need an X server, OpenGL and ImageMagick,
# while the picture only changes when the scene does. -strip keeps the files free of timestamps.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "${1:-$root/build}")
frame=80 # 40 s at 0.5 s per frame
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '[window]\nwidth = 512\nheight = 512\nfullscreen = false\n' >"$work/icon.ini"
SDL_AUDIODRIVER=dummy "$root/tests/support/with-xvfb.sh" "$build/duskvale" --assets "$build/assets" \
    --settings "$work/icon.ini" --fixed-step 0.5 --max-frames "$frame" \
    --screenshot "$frame:$work/frame.png" >"$work/viewer.log"

for size in 48 64 128 256; do
    convert "$work/frame.png" -crop 448x448+24+40 +repage -level 0%,70% -resize "${size}x${size}" -strip \
        "png:$root/tools/install/icons/duskvale-$size.png"
done
echo "wrote $root/tools/install/icons/duskvale-{48,64,128,256}.png from frame $frame"
