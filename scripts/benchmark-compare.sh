#!/usr/bin/env bash
# Before/after comparison of the viewer against an earlier commit on this machine, in one run: builds
# the earlier commit beside this tree (a git worktree under build-base/), then runs the two builds
# alternately over the automatic flight with --benchmark and prints each pass's median and 95th
# percentile, the CPU frame time, the peak resident memory and the CPU time of the whole run (all
# threads: less disturbed than the medians when other work shares the machine) side by side. With
# --psnr it instead takes the seven comparison frames (10, 17, 30, 45, 62, 70, 85 s of flight,
# particles left out) from both builds and prints the PSNR of each pair.
#
#   scripts/benchmark-compare.sh [--base REV] [--base-build DIR] [--size WxH] [--runs N]
#                                [--max-frames N] [--psnr | --record]
#
# --base REV        the earlier commit (default b7c596e)
# --base-build DIR  use an existing build of it instead (DIR/duskvale and DIR/assets)
# --size WxH        window size (default 1280x720; 640x360 and 1920x1080 are the other usual ones)
# --runs N          runs of each build, alternating (default 1)
# --max-frames N    stop each run after N frames (default: the whole flight)
# --record          time the README's headless recording instead (--record at 4 fps, 480x270 unless
#                   --size says otherwise, volume 0.5), wall-clock seconds per build
# --psnr            compare pictures instead of timing (640x360 unless --size says otherwise); with
#                   KEEP_FRAMES=DIR in the environment the frames are kept there
set -euo pipefail

# DUSKVALE_ROOT lets a copy of this script, run from elsewhere, point at the tree.
root=${DUSKVALE_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
base=b7c596e
baseBuild=""
size=""
runs=1
maxFrames=0
psnr=false
record=false
volume=0
while [ $# -gt 0 ]; do
    case $1 in
    --base) base=$2; shift 2 ;;
    --base-build) baseBuild=$2; shift 2 ;;
    --size) size=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --max-frames) maxFrames=$2; shift 2 ;;
    --psnr) psnr=true; shift ;;
    --record) record=true; volume=0.5; shift ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done
if [ -z "$size" ]; then
    if $psnr; then size=640x360; elif $record; then size=480x270; else size=1280x720; fi
fi
width=${size%x*}
height=${size#*x}

newBuild=$root/build
cmake --build "$newBuild" -j2 >/dev/null
if [ -z "$baseBuild" ]; then
    baseTree=$root/build-base/src
    baseBuild=$root/build-base/build
    if [ ! -d "$baseTree" ]; then
        git -C "$root" worktree add --detach "$baseTree" "$base" >/dev/null
    else
        git -C "$baseTree" checkout --detach -q "$base"
    fi
    cmake -S "$baseTree" -B "$baseBuild" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$baseBuild" -j2 --target duskvale assets >/dev/null 2>&1 ||
        cmake --build "$baseBuild" -j2 >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# An assets folder that shows a build's assets through links, with its own settings.ini: the viewer
# reads ../assets/settings.ini from inside its assets folder.
linkedAssets() {
    local from=$1 name=$2
    local dir=$work/$name/assets
    mkdir -p "$dir"
    for entry in "$from"/*; do
        [ "$(basename "$entry")" = settings.ini ] || ln -s "$(realpath "$entry")" "$dir/"
    done
    printf '[window]\nwidth = %s\nheight = %s\nfullscreen = false\nvolume = %s\n' "$width" "$height" "$volume" \
        >"$dir/settings.ini"
    echo "$dir"
}
baseAssets=$(linkedAssets "$baseBuild/assets" base)
newAssets=$(linkedAssets "$newBuild/assets" new)

run() { # binary assets extra-args...
    local binary=$1 assets=$2
    shift 2
    local limit=()
    [ "$maxFrames" -gt 0 ] && limit=(--max-frames "$maxFrames")
    xvfb-run -a -s "-screen 0 ${width}x${height}x24" \
        /usr/bin/time -f $'peak RSS %M kB\nprocess CPU %U %S s' "$binary" --assets "$assets" --fixed-step 0.5 "${limit[@]}" "$@"
}

if $psnr; then
    frames=(20 34 60 90 124 140 170)
    shots=()
    for f in "${frames[@]}"; do shots+=(--screenshot "$f:SHOT_$f.png"); done
    for side in base new; do
        if [ $side = base ]; then binary=$baseBuild/duskvale assets=$baseAssets; else binary=$newBuild/duskvale assets=$newAssets; fi
        args=()
        for s in "${shots[@]}"; do args+=("${s/SHOT_/$work/$side-}"); done
        run "$binary" "$assets" --skip-pass particles --max-frames 170 "${args[@]}" >"$work/$side.log" 2>&1
    done
    printf '%-8s %-8s %-12s %s\n' frame seconds "PSNR dB" "pixels differing"
    for f in "${frames[@]}"; do
        value=$(compare -metric PSNR "$work/base-$f.png" "$work/new-$f.png" null: 2>&1 || true)
        count=$(compare -metric AE "$work/base-$f.png" "$work/new-$f.png" null: 2>&1 || true)
        printf '%-8s %-8s %-12s %s\n' "$f" "$(awk "BEGIN{print $f*0.5}")" "$value" "$count"
        [ -n "${KEEP_FRAMES:-}" ] && mkdir -p "$KEEP_FRAMES" && cp "$work/base-$f.png" "$work/new-$f.png" "$KEEP_FRAMES/"
    done
    exit 0
fi

if $record; then
    printf '%-6s %-6s %s\n' run build "recording seconds (wall clock)"
    for ((r = 1; r <= runs; ++r)); do
        for side in base new; do
            if [ $side = base ]; then binary=$baseBuild/duskvale assets=$baseAssets; else binary=$newBuild/duskvale assets=$newAssets; fi
            rm -rf "$work/recording"
            start=$(date +%s.%N)
            xvfb-run -a -s "-screen 0 1280x1024x24" "$binary" --assets "$assets" --record "$work/recording" --fps 4 \
                >"$work/$side-record-$r.log" 2>&1
            printf '%-6s %-6s %.1f\n' "$r" "$side" "$(echo "$(date +%s.%N) - $start" | bc)"
        done
    done
    exit 0
fi

for ((r = 1; r <= runs; ++r)); do
    for side in base new; do
        if [ $side = base ]; then binary=$baseBuild/duskvale assets=$baseAssets; else binary=$newBuild/duskvale assets=$newAssets; fi
        run "$binary" "$assets" --benchmark >"$work/$side-$r.log" 2>&1
    done
done

# One table: for each pass and run, the baseline's and this tree's median and p95 and their ratio.
echo "Benchmark at ${width}x${height}, --fixed-step 0.5, $runs run(s) each, base $base vs $(git -C "$root" rev-parse --short HEAD) (+ working tree)"
printf '%-20s %10s %10s %10s %10s %8s\n' pass "base med" "base p95" "new med" "new p95" "new/base"
for ((r = 1; r <= runs; ++r)); do
    awk '
        FNR == 1 { side++ }
        /^Benchmark/ { inTable[side] = 1; next }
        inTable[side] && /^pass/ { next }
        inTable[side] && NF >= 4 && $(NF) ~ /^[0-9]+$/ && $(NF - 2) ~ /^[0-9.]+$/ {
            name = $1; for (i = 2; i <= NF - 3; ++i) name = name " " $i
            if (!(name in seen)) { seen[name] = 1; order[++count] = name }
            med[side, name] = $(NF - 2); p95[side, name] = $(NF - 1); next
        }
        /^peak RSS/ { rss[side] = $3 }
        /^process CPU/ { cpu[side] = $3 + $4 }
        END {
            for (i = 1; i <= count; ++i) {
                n = order[i]
                ratio = med[1, n] > 0 ? sprintf("%.2f", med[2, n] / med[1, n]) : "-"
                printf "%-20s %10s %10s %10s %10s %8s\n", n, med[1, n], p95[1, n], med[2, n], p95[2, n], ratio
            }
            printf "%-20s %10s %10s %10s %10s %8s\n", "peak RSS MB", sprintf("%.0f", rss[1] / 1024), "", sprintf("%.0f", rss[2] / 1024), "", sprintf("%.2f", rss[2] / rss[1])
            if (cpu[1] > 0)
                printf "%-20s %10s %10s %10s %10s %8s\n", "CPU s, all threads", sprintf("%.1f", cpu[1]), "", sprintf("%.1f", cpu[2]), "", sprintf("%.2f", cpu[2] / cpu[1])
        }' "$work/base-$r.log" "$work/new-$r.log"
done
