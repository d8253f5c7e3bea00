# A missing, malformed or hostile settings file: the viewer says what it did about it (one line per
# window size it had to replace) and runs to its frame limit
# with exit code 0; it never crashes on a value, however large, negative or binary.
source "$(dirname "$0")/../support/e2e_lib.sh"
source "$(dirname "$0")/../support/robust_lib.sh"
run_under_xvfb
export SDL_AUDIODRIVER=dummy

# Runs the viewer on an assets folder whose settings.ini holds stdin (a screenshot of frame 2 shows the
# size it rendered at); sets CODE, OUT, ERR and SIZE ("W H").
run_settings() {
    local name=$1 dir
    dir=$(assets_with_settings "$name")
    run_case "$name" "$dir" --fixed-step 0.5 --max-frames 2 --screenshot 2:"$WORK/$name.png"
    expect_normal_end "$name"
    read -r w h _ < <(png_stats "$WORK/$name.png")
    SIZE="$w $h"
}

# No settings file at all: every default (a 1920 x 1080 full screen, which is the whole Xvfb screen).
# The designed line it prints is checked by the settings unit test.
dir=$(case_assets missing)
rm "$dir/settings.ini"
run_case missing "$dir" --fixed-step 0.5 --max-frames 1 --screenshot 1:"$WORK/missing.png"
expect_normal_end missing
read -r w h _ < <(png_stats "$WORK/missing.png")
[ "$w $h" = "1920 1080" ] || fail "missing: rendered ${w}x$h instead of the default 1920x1080"

# Garbage values: unparsable numbers keep their defaults, silently; words in booleans count as true.
run_settings garbage <<'INI'
[window]
width = banana
height = 90
refresh_rate = fast
fullscreen = nope, not today
volume = loud
gamma = ~
automaticCam = perhaps
gammaEnabled =
INI
[ "$SIZE" = "1920 1080" ] || fail "garbage: a ${SIZE/ /x} window; the word in fullscreen should mean full screen"
expect_no_line garbage "$OUT" "Settings:"
expect_no_line garbage "$OUT" "ERROR: Failed to load"

# Sizes no window can have: below 1 takes the default, beyond 16384 is capped; one line each. Past
# int's range, 2^32 + 160 used to wrap to a plausible 160; it now saturates and is capped.
while IFS='|' read -r name lines size line; do
    run_settings "$name" < <(printf '[window]\n%b\nfullscreen = false\n' "$lines")
    expect_line "$name" "$OUT" "Settings: $line"
    [ "$SIZE" = "$size" ] || fail "$name: rendered at $SIZE, expected $size"
done <<'CASES'
negative|width = -5\nheight = 90|1920 90|width -5 is not a usable window size; using 1920 instead.
zero|width = 160\nheight = 0|160 1080|height 0 is not a usable window size; using 1080 instead.
huge|width = 99999999\nheight = 90|16384 90|width 99999999 is more than OpenGL 4.3 guarantees for the screen-sized images; using 16384 instead.
overflow|width = 4294967456\nheight = 90\nrefresh_rate = -99999999999999999999|16384 90|width 2147483647 is more than OpenGL 4.3 guarantees
CASES
# Reals beyond float's range and not-a-number: the volume clamps, the run goes on.
run_settings reals <<'INI'
[window]
width = 160
height = 90
fullscreen = false
volume = 1e400
gamma = nan
INI

# A key given twice keeps both values joined: a number takes the first, a boolean becomes true (here
# full screen, which on Xvfb is the whole 1920 x 1080 screen).
run_settings duplicate <<'INI'
[window]
width = 160
width = 320
height = 90
height = 0
fullscreen = false
fullscreen = false
INI
expect_no_line duplicate "$OUT" "Settings:"
[ "$SIZE" = "1920 1080" ] || fail "duplicate: rendered at $SIZE, expected full screen"

# Binary junk after a valid section (NUL bytes, no line ends for kilobytes), and a file of junk only.
{
    printf '[window]\nwidth = 160\nheight = 90\nfullscreen = false\n'
    garbage 4096
} >"$WORK/junk_after.ini"
run_settings junk_after <"$WORK/junk_after.ini"
[ "$SIZE" = "160 90" ] || fail "junk_after: rendered at $SIZE, the valid lines before the junk were lost"
garbage 4096 >"$WORK/junk_only.ini"
run_settings junk_only <"$WORK/junk_only.ini"
expect_no_line junk_only "$OUT" "ERROR: Failed to load"
echo "PASS: $CASES_RUN cases"
