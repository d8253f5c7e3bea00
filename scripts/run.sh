#!/usr/bin/env bash
# Installs what Duskvale needs, builds it and starts the viewer from the built assets folder. Without
# a display it records the whole flight under Xvfb instead, small and at a low frame rate so that it
# finishes in a few minutes, and says where the video and frames are. Extra arguments go to the viewer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target duskvale assets

if [ -n "${DISPLAY:-}" ]; then
    exec build/duskvale --assets build/assets "$@"
fi

# A private assets folder that shows the built one but opens a small window.
out=$(pwd)/build/recording
headless=$(pwd)/build/headless/assets
rm -rf "$out" "$(dirname "$headless")"
mkdir -p "$headless"
for entry in build/assets/*; do
    [ "$(basename "$entry")" = settings.ini ] || ln -s "$(realpath "$entry")" "$headless/"
done
cat > "$headless/settings.ini" <<'INI'
[window]
width = 480
height = 270
fullscreen = false
volume = 0.5
INI
echo "No DISPLAY: recording the whole 91.5 s flight under Xvfb at 480x270, 4 frames per second."
xvfb-run -a -s "-screen 0 1280x1024x24" build/duskvale --assets "$headless" --record "$out" --fps 4 "$@"
if [ -f "$out/flight.mp4" ]; then
    echo "The video is $out/flight.mp4; its frames are $out/frame_*.png."
else
    echo "The frames are $out/frame_*.png (install ffmpeg for a video)."
fi
