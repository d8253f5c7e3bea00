#!/usr/bin/env bash
# Draws a table written by `duskvale --benchmark-csv CSV` as a stacked area chart: each pass's GPU
# time per frame, stacked in pass order, so the chart's top edge is the frame's GPU time and one sees
# where the frame goes and when along the flight. Needs gnuplot (Debian: gnuplot-nox).
#   scripts/plot-benchmark.sh CSV PNG
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 CSV PNG (CSV as written by duskvale --benchmark-csv)" >&2
    exit 2
fi
csv=$1
png=$2
command -v gnuplot >/dev/null || { echo "$0: gnuplot is not installed (Debian: gnuplot-nox)" >&2; exit 1; }
[ -r "$csv" ] || { echo "$0: cannot read $csv" >&2; exit 1; }

table=$(mktemp)
trap 'rm -f "$table"' EXIT
# Keeps the frame and the pass columns; a pass that did not run in a frame counts 0 ms there, so the
# stack stays closed.
awk -F, '
NR == 1 {
    for (i = 1; i <= NF; ++i)
        if ($i != "cpu_frame_ms" && $i != "live_particles")
            keep[++n] = i
}
{
    line = ""
    for (k = 1; k <= n; ++k) {
        value = $(keep[k])
        if (NR > 1 && value == "")
            value = 0
        line = line (k > 1 ? "," : "") value
    }
    print line
}' "$csv" >"$table"

columns=$(head -1 "$table" | awk -F, '{ print NF }')
rows=$(($(wc -l <"$table") - 1))
if [ "$columns" -lt 2 ] || [ "$rows" -lt 1 ]; then
    echo "$0: $csv holds no pass times (expected the header frame,<pass>...,cpu_frame_ms,live_particles and rows)" >&2
    exit 1
fi

# The stack is drawn from its top layer down, each layer filled from zero to its running sum, so
# every lower layer paints over the part of the ones above it that it covers.
gnuplot <<PLOT
set terminal pngcairo size 1280,720 font ",11"
set output "$png"
set datafile separator ","
set title "GPU time per pass along the run (stacked)"
set xlabel "frame"
set ylabel "GPU time (ms)"
set key outside right top
set style fill solid 0.85 noborder
set yrange [0:*]
# gnuplot's own cycle repeats after eight colours; the viewer times up to ten passes.
colours = "#1b9e77 #d95f02 #7570b3 #e7298a #66a61e #e6ab02 #a6761d #666666 #1f78b4 #b2df8a #fb9a99 #cab2d6"
plot for [i=$columns:2:-1] "$table" using 1:(sum [c=2:i] column(c)) with filledcurves x1 \
    lc rgb word(colours, (i - 2) % 12 + 1) title columnheader(i)
PLOT
echo "Wrote $png"
