#!/usr/bin/env bash
# Rewrites the golden images of tests/e2e/static_scene_images.sh on purpose, after a change that is
# meant to alter the picture: bash tests/golden/regenerate.sh BUILD_DIR (the viewer's build folder,
# with its assets). Look at the new images before committing them.
set -euo pipefail

GOLDEN_DIR=$(cd "$(dirname "$0")" && pwd)
source "$GOLDEN_DIR/golden_run.sh"
BUILD=$(realpath "${1:?usage: regenerate.sh BUILD_DIR}")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

mkdir -p "$WORK/assets"
for entry in "$BUILD"/assets/*; do
    [ "$(basename "$entry")" = settings.ini ] || ln -s "$(realpath "$entry")" "$WORK/assets/$(basename "$entry")"
done
echo "$GOLDEN_SETTINGS" >"$WORK/assets/settings.ini"

shots=() last=0
for frame in $GOLDEN_FRAMES; do
    shots+=(--screenshot "$frame:$WORK/f$frame.png")
    last=$frame
done
"$GOLDEN_DIR/../support/with-xvfb.sh" "$BUILD/duskvale" --assets "$WORK/assets" --fixed-step "$GOLDEN_STEP" \
    --max-frames "$last" "${GOLDEN_ARGS[@]}" "${shots[@]}" >/dev/null
for frame in $GOLDEN_FRAMES; do
    cp "$WORK/f$frame.png" "$GOLDEN_DIR/static_scene_f$frame.png"
    echo "wrote $GOLDEN_DIR/static_scene_f$frame.png"
done
