# scripts/plot-benchmark.sh draws a PNG chart from a small benchmark table, counting passes that did
# not run in a frame as 0 ms, and refuses a table without pass times.
source "$(dirname "$0")/../support/e2e_lib.sh"
PLOT="$(dirname "$0")/../../scripts/plot-benchmark.sh"

cat >"$WORK/small.csv" <<'CSV'
frame,shadow,geometry,particles,cpu_frame_ms,live_particles
0,3.5,2.0,,9.1,
1,3.0,2.5,1.0,8.0,120
2,4.0,2.0,1.5,8.5,240
3,3.5,2.5,0.5,8.2,180
CSV
run plot bash "$PLOT" "$WORK/small.csv" "$WORK/chart.png"
[ "$code" = 0 ] || fail "plot-benchmark.sh failed: $(cat "$WORK/plot.err")"
read -r width height r g b < <(png_stats "$WORK/chart.png")
[ "$width" = 1280 ] && [ "$height" = 720 ] || fail "expected a 1280 x 720 chart, got $width x $height"
# The stacked areas fill part of a white page with colour.
[ $((r + g + b)) -lt 735 ] || fail "the chart is blank (mean RGB $r $g $b)"

printf 'frame,cpu_frame_ms,live_particles\n0,9.1,\n' >"$WORK/nopasses.csv"
run empty bash "$PLOT" "$WORK/nopasses.csv" "$WORK/none.png"
[ "$code" = 1 ] && [ ! -e "$WORK/none.png" ] || fail "a table without passes: expected exit 1 and no PNG, got $code"
run usage bash "$PLOT" "$WORK/small.csv"
[ "$code" = 2 ] || fail "one argument: expected exit 2, got $code"
echo "PASS"
