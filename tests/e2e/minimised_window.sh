# A minimised window renders nothing and leaves the processor alone; restored, the picture comes back.
# Minimising needs a window manager, so this display runs openbox (the other tests run without one).
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb

command -v openbox >/dev/null || fail "openbox is not installed (scripts/install-deps.sh installs it)"
openbox --sm-disable >/dev/null 2>&1 &
manager=$!
trap 'kill "$manager" 2>/dev/null || true; rm -rf "$WORK"' EXIT

shots="$WORK/shots"
mkdir -p "$shots"
assets=$(windowed_assets minimised 320 180 "automaticCam = true")
"$VIEWER" --assets "$assets" --loop --screenshot-dir "$shots" --skip-pass shadow --skip-pass occlusion \
    >"$WORK/viewer.out" 2>"$WORK/viewer.err" &
viewer=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Duskvale' | head -1) ||
    fail "the viewer's window did not appear"

# Processor time (user + system, in clock ticks) the viewer has used so far.
cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$viewer/stat"
}
ticks_per_second=$(getconf CLK_TCK)

# Let the scene finish loading, then measure two seconds of ordinary running for comparison.
for _ in $(seq 300); do
    [[ "$(xdotool getwindowname "$window")" == *fps ]] && break
    sleep 0.1
done
start=$(cpu_ticks)
sleep 2
running=$(($(cpu_ticks) - start))

xdotool windowminimize --sync "$window"
sleep 1
start=$(cpu_ticks)
sleep 3
minimised=$(($(cpu_ticks) - start))
kill -0 "$viewer" 2>/dev/null || fail "the viewer ended while minimised"
echo "processor time: $running ticks in 2 s running, $minimised ticks in 3 s minimised ($ticks_per_second a second)"
[ "$minimised" -le $((ticks_per_second / 10)) ] ||
    fail "minimised, the viewer used $minimised ticks in 3 s: it goes on working"
[ "$running" -gt $((ticks_per_second / 2)) ] || fail "running, the viewer used only $running ticks; the comparison proves nothing"

xdotool windowactivate --sync "$window"
sleep 1
xdotool windowfocus --sync "$window" key F12
for _ in $(seq 600); do
    grep -q '^Screenshot written to ' "$WORK/viewer.out" && break
    sleep 0.1
done
shot=$(grep '^Screenshot written to ' "$WORK/viewer.out" | tail -1 | sed 's/^Screenshot written to //')
[ -n "$shot" ] || fail "restored, the viewer wrote no picture on F12"
read -r w h r g b < <(png_stats "$shot")
[ "$w $h" = "320 180" ] || fail "restored, the picture is ${w}x$h, not 320x180"
[ $(((r + g + b) / 3)) -lt 200 ] || fail "restored, the picture is white: the scene did not come back"

xdotool windowfocus --sync "$window" key Escape
code=0
wait "$viewer" || code=$?
[ "$code" -eq 0 ] || fail "Escape: expected exit code 0, got $code"
echo "PASS"
