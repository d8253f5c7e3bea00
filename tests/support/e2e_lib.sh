# Shared helpers of the end-to-end scripts, which each get the viewer binary and the built assets
# folder as arguments. Source it; it sets VIEWER, ASSETS and WORK (a scratch folder removed on exit).
set -euo pipefail

VIEWER=$(realpath "$1")
ASSETS=$(realpath "$2")
SUPPORT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# png_probe is built beside the tests; CTest passes its path in the environment.
PNG_PROBE=${DUSKVALE_PNG_PROBE:-}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Prints the id of the viewer's window once it is on screen (within a minute).
viewer_window() {
    timeout 60 xdotool search --sync --onlyvisible --name '^Duskvale' | head -1
}

# Waits up to a minute for a line matching $1 in file $2.
wait_for_line() {
    for _ in $(seq 600); do grep -q "$1" "$2" && return 0 || sleep 0.1; done
    return 1
}

# Re-runs the calling script on a private X display, unless it already has one of ours.
run_under_xvfb() {
    if [ -z "${DUSKVALE_E2E_XVFB:-}" ]; then
        DUSKVALE_E2E_XVFB=1 exec "$SUPPORT_DIR/with-xvfb.sh" bash "$0" "$VIEWER" "$ASSETS"
    fi
}

# An assets folder that shows the built one through links but has its own settings.ini, so a test
# does not depend on what the shipped settings say. Prints the folder; the text comes on stdin.
assets_with_settings() {
    local dir="$WORK/$1/assets"
    mkdir -p "$dir"
    for entry in "$ASSETS"/* "$ASSETS"/.[!.]*; do
        [ -e "$entry" ] || continue
        [ "$(basename "$entry")" = settings.ini ] && continue
        ln -s "$(realpath "$entry")" "$dir/$(basename "$entry")"
    done
    cat > "$dir/settings.ini"
    echo "$dir"
}

# "WIDTH HEIGHT R G B" of a PNG, or of the rectangle X Y W H of it.
png_stats() {
    [ -n "$PNG_PROBE" ] || fail "DUSKVALE_PNG_PROBE is not set (run the test through ctest)"
    "$PNG_PROBE" "$@"
}

# Runs a command (the viewer, maybe behind env) with its output in WORK/NAME.out and WORK/NAME.err, and
# sets code to its exit code instead of ending the script.
run() {
    local name=$1
    shift
    code=0
    "$@" >"$WORK/$name.out" 2>"$WORK/$name.err" || code=$?
}

# assets_with_settings for a windowed run of the given size; further arguments are more [window] lines.
windowed_assets() {
    local name=$1 width=$2 height=$3
    shift 3
    { printf '[window]\nwidth = %s\nheight = %s\nfullscreen = false\n' "$width" "$height" && printf '%s\n' "$@"; } |
        assets_with_settings "$name"
}
