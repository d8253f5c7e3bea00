#!/usr/bin/env bash
# Soak run (by hand, not in CI): the viewer with the camera free (the flight clock stands, so the run
# never ends by itself) and a fixed step of SOAK_STEP (0.25 s), for SOAK_MINUTES (20) under Xvfb.
# Every 30 s it toggles switches, turns the camera and resizes the window four times, then samples
# resident memory; it fails when it grows more than SOAK_MARGIN_MB (16) after
# SOAK_WARMUP_S (120), when the debug callback prints an "OpenGL Error" line, or when the driver
# reports a GL error once the frames run. Mesa reports the errors of an ordinary (non-debug) context
# only with MESA_DEBUG set, so the run sets it; errors during start-up (a shader stage that failed to
# build is attached as 0) are listed, not failed on. The benchmark table counts the live smoke
# particles of every frame; the run fails when the later half of the frames after warm-up holds more
# than SOAK_PARTICLE_MARGIN (10 %) above the earlier half's peak. Needs build/duskvale and build/assets.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
minutes=${SOAK_MINUTES:-20}
warmup=${SOAK_WARMUP_S:-120}
margin_mb=${SOAK_MARGIN_MB:-16}
# A quarter second per frame: at llvmpipe's few frames a second the 20 minutes then cover several
# lifetimes of every smoke particle (20-30 s), where a 60 Hz step would simulate well under a minute.
step=${SOAK_STEP:-0.25}
interval=30
particle_margin=${SOAK_PARTICLE_MARGIN:-10}

if [ -z "${DUSKVALE_SOAK_XVFB:-}" ]; then
    DUSKVALE_SOAK_XVFB=1 exec tests/support/with-xvfb.sh bash "$0" "$@"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/assets"
for entry in build/assets/*; do
    [ "$(basename "$entry")" = settings.ini ] || ln -s "$(realpath "$entry")" "$work/assets/"
done
printf '[window]\nwidth = 320\nheight = 180\nfullscreen = false\nautomaticCam = false\nvolume = 0.5\n' \
    >"$work/assets/settings.ini"

# A screenshot that never comes makes the viewer say at the end how many frames it ran.
SDL_AUDIODRIVER=dummy MESA_DEBUG=1 "$root/build/duskvale" --assets "$work/assets" --fixed-step "$step" \
    --benchmark-csv "$work/frames.csv" --screenshot 1000000000000:"$work/never.png" >"$work/out" 2>"$work/err" &
viewer=$!

rss_mb() { ps -o rss= -p "$viewer" | awk '{ printf "%.1f", $1 / 1024 }'; }
gl_errors() { cat "$work/out" "$work/err" | grep -c -e '^OpenGL Error' -e '^Mesa: User error' || true; }
callback_errors() { grep -c '^OpenGL Error' "$work/out" || true; }

window=$(timeout 120 xdotool search --sync --onlyvisible --name '^Duskvale( - .* fps)?$' | head -1) || {
    echo "FAIL: the viewer's window did not appear" >&2
    cat "$work/err" >&2
    exit 1
}
start=$(date +%s)
end=$((start + minutes * 60))
opened=$(rss_mb)
echo "soak: ${minutes} min, free camera, fixed step ${step} s, 320x180; samples every ${interval} s"
printf '%6s %9s %10s\n' "t/s" "RSS/MB" "GL errors"
printf '%6d %9s %10s   (window open, scene still loading)\n' 0 "$opened" "$(gl_errors)"
first="" startup_errors="" warm="" warm_errors="" peak=$opened samples=""
while [ "$(date +%s)" -lt "$end" ]; do
    sleep "$interval"
    kill -0 "$viewer" 2>/dev/null || {
        echo "FAIL: the viewer ended by itself" >&2
        tail -5 "$work/err" >&2
        exit 1
    }
    # The switches the user has in free mode (occlusion, gamma: each pressed twice, so the picture
    # returns to where it was) and a turn of the camera, so the soak is not one frame repeated.
    xdotool windowfocus --sync "$window" key h h g g mousemove_relative --sync 3 0 2>/dev/null || true
    # A few resizes, each held for some frames so that the targets are really remade, ending at the
    # start size so that the samples stay comparable: a leak per resize shows as growth.
    for size in "400 225" "480 270" "360 200" "320 180"; do
        # shellcheck disable=SC2086
        xdotool windowsize --sync "$window" $size 2>/dev/null || true
        sleep 0.5
    done
    now=$(($(date +%s) - start))
    rss=$(rss_mb)
    errors=$(gl_errors)
    printf '%6d %9s %10s\n' "$now" "$rss" "$errors"
    samples="$samples $now:$rss"
    # The scene loads in a few seconds, so by the first sample start-up is over.
    if [ -z "$first" ]; then
        first=$rss
        startup_errors=$errors
    fi
    peak=$(awk -v a="$peak" -v b="$rss" 'BEGIN { print (b > a) ? b : a }')
    if [ -z "$warm" ] && [ "$now" -ge "$warmup" ]; then
        warm=$rss
        warm_errors=$errors
    fi
done
last=$(rss_mb)
final_errors=$(gl_errors)
xdotool windowfocus --sync "$window" key Escape
code=0
wait "$viewer" || code=$?
frames=$(sed -n 's/.*the run ended after \([0-9]*\) frames.*/\1/p' "$work/err")
# Live particles (the CSV's last column) by frame: the peak over the frames whose clock is past the
# warm-up, in their earlier and later half.
particles=$(awk -F, -v skip="$(awk -v w="$warmup" -v s="$step" 'BEGIN { printf "%d", w / s }')" '
    NR > 1 && $NF != "" { n++; if (n > skip) live[++m] = $NF }
    END {
        if (m < 2) { print "n/a n/a"; exit }
        for (i = 1; i <= m; i++) { h = (i <= m / 2) ? 1 : 2; if (live[i] > peak[h]) peak[h] = live[i] }
        printf "%d %d", peak[1], peak[2]
    }' "$work/frames.csv" 2>/dev/null || echo "n/a n/a")
read -r early_peak late_peak <<<"$particles"

# Growth after warm-up in MB per hour, by least squares over the samples taken after it.
slope=$(tr ' ' '\n' <<<"$samples" | awk -F: -v w="$warmup" '$1 >= w { n++; sx += $1; sy += $2; sxx += $1 * $1; sxy += $1 * $2 }
    END { if (n < 2 || n * sxx == sx * sx) print "n/a"; else printf "%.2f", 3600 * (n * sxy - sx * sy) / (n * sxx - sx * sx) }')
echo "window open ${opened} MB; start (first sample) ${first} MB, after warm-up (${warmup} s) ${warm} MB, end ${last} MB, peak ${peak} MB;" \
    "trend after warm-up ${slope} MB/h; ${frames:-?} frames; exit code ${code}"
echo "live smoke particles after warm-up: peak ${early_peak} in the earlier half of the frames," \
    "${late_peak} in the later half"
echo "GL error lines: ${startup_errors} during start-up, ${warm_errors} by the end of warm-up," \
    "${final_errors} at the end"
if [ "$startup_errors" -ne 0 ]; then
    echo "start-up errors (not failed on):"
    cat "$work/out" "$work/err" | grep -e '^OpenGL Error' -e '^Mesa: User error' | sort | uniq -c | head
fi

status=0
if awk -v w="$warm" -v l="$last" -v m="$margin_mb" 'BEGIN { exit !(l - w > m) }'; then
    echo "FAIL: resident memory grew by more than ${margin_mb} MB after warm-up" >&2
    status=1
fi
if [ "$final_errors" -ne "$startup_errors" ] || [ "$(callback_errors)" -ne 0 ]; then
    echo "FAIL: OpenGL errors were printed while the frames ran:" >&2
    cat "$work/out" "$work/err" | grep -e '^OpenGL Error' -e '^Mesa: User error' | sort | uniq -c | head >&2
    status=1
fi
if [ "$early_peak" = n/a ] ||
    awk -v e="$early_peak" -v l="$late_peak" -v m="$particle_margin" 'BEGIN { exit !(l > e * (1 + m / 100)) }'; then
    echo "FAIL: the live particles were not counted, or grew after warm-up" >&2
    status=1
fi
if [ "$code" -ne 0 ]; then
    echo "FAIL: the viewer exited with $code after Escape" >&2
    status=1
fi
[ "$status" -eq 0 ] && echo "PASS"
exit "$status"
