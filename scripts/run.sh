#!/usr/bin/env bash
# Installs what Duskvale needs, builds it and starts the viewer from the built assets folder. Without
# a display it flies the first 30 s of the route under Xvfb in a repeatable mode and writes
# screenshots instead. Extra arguments go to the viewer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target duskvale assets

if [ -n "${DISPLAY:-}" ]; then
    exec build/duskvale --assets build/assets "$@"
fi

shots=$(pwd)/build/screenshots
mkdir -p "$shots"
echo "No DISPLAY: running the viewer under Xvfb at a fixed 0.5 s per frame for 60 frames (30 s of flight)."
xvfb-run -a -s "-screen 0 1920x1080x24" build/duskvale --assets build/assets --fixed-step 0.5 --max-frames 60 \
    --screenshot 4:"$shots/flight-02s.png" --screenshot 36:"$shots/flight-18s.png" \
    --screenshot 60:"$shots/flight-30s.png" "$@"
echo "Screenshots at 2 s, 18 s and 30 s of flight are in $shots:"
ls -1 "$shots"/flight-*.png
