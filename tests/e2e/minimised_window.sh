# A minimised window renders nothing and leaves the processor alone; restored, the picture comes back.
# Minimising needs a window manager, so this display runs openbox (the other tests run without one).
source "$(dirname "$0")/../support/e2e_lib.sh"
run_under_xvfb

openbox --sm-disable >/dev/null 2>&1 &
manager=$!
trap 'kill "$manager" 2>/dev/null || true; rm -rf "$WORK"' EXIT
assets=$(windowed_assets minimised 320 180 "automaticCam = true")
"$VIEWER" --assets "$assets" --loop --screenshot-dir "$WORK" --skip-pass shadow --skip-pass occlusion \
    >"$WORK/out" 2>"$WORK/err" &
viewer=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Duskvale' | head -1) ||
    fail "no window within 60 s; the viewer said: $(tail -n 3 "$WORK/err")"
for _ in $(seq 300); do [[ "$(xdotool getwindowname "$window")" == *fps ]] && break || sleep 0.1; done

# Processor ticks (user + system) the viewer uses in $1 seconds.
ticks_in() {
    local start
    start=$(awk '{ print $14 + $15 }' "/proc/$viewer/stat")
    sleep "$1"
    echo $(($(awk '{ print $14 + $15 }' "/proc/$viewer/stat") - start))
}
hz=$(getconf CLK_TCK)
running=$(ticks_in 2)
xdotool windowminimize --sync "$window"
sleep 1
minimised=$(ticks_in 3)
echo "processor ticks ($hz a second): $running in 2 s running, $minimised in 3 s minimised"
[ "$running" -gt $((hz / 2)) ] || fail "running, the viewer used only $running ticks; this proves nothing"
[ "$minimised" -le $((hz / 10)) ] || fail "minimised, the viewer used $minimised ticks in 3 s"

xdotool windowactivate --sync "$window" 2>/dev/null
sleep 1
xdotool windowfocus --sync "$window" key F12
for _ in $(seq 600); do grep -q '^Screenshot written to ' "$WORK/out" && break || sleep 0.1; done
shot=$(grep '^Screenshot written to ' "$WORK/out" | cut -d' ' -f4-)
[ -n "$shot" ] || fail "restored, the viewer wrote no picture on F12"
png_stats "$shot" | awk '{ exit !($1 == 320 && $2 == 180 && ($3 + $4 + $5) / 3 < 200) }' ||
    fail "restored, the picture is not the 320x180 scene: $(png_stats "$shot")"
xdotool windowfocus --sync "$window" key Escape
wait "$viewer" || fail "the run ended with $? after Escape, not 0"
echo "PASS"
