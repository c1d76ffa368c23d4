#!/usr/bin/env bash
# The capture's speed at the output sizes of bench/README.md: each size drawn alone (frame times
# per scene, no output), then into an H.264 video (the wall time beside the span's own length,
# and the filter and read-back per frame). Run it with nothing else on the machine; taller sizes than 600 lines use
# the 2160-line pictures, as scripts/capture does.
# Usage: bench/capture-sizes.sh [FROM TO]   (default: the whole demo, 0 to 266 s)
#        e.g. bench/capture-sizes.sh 26 36 for a ten-second try
# Needs the release build and both data folders:
#   cmake --build --preset release && cmake --build --preset release --target data-2160
set -euo pipefail
source "$(dirname "$0")/prologue.bash"
from=${1:-0}
to=${2:-266}
for folder in data data-2160; do
    [ -f "$build/$folder/textures/font.png" ] || {
        echo "capture-sizes: no $build/$folder (see the usage)" >&2
        exit 2
    }
done

echo "== machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg); span $from to $to s"

# One size: drawn alone, then to video; the ratio is seconds of demo per second of wall time.
measure() { # size ssaa
    local size=$1 ssaa=$2 height=${1#*x} folder=data
    [ "$height" -gt 600 ] && folder=data-2160
    cd "$build/$folder"
    echo "== $size, --ssaa $ssaa ($folder): drawn alone, no output"
    "$build/vorrel-capture" --size "$size" --ssaa "$ssaa" --from "$from" --to "$to" --stats \
        2>/dev/null
    local begin end
    begin=$(date +%s.%N)
    "$build/vorrel-capture" --size "$size" --ssaa "$ssaa" --from "$from" --to "$to" \
        --video "$tmp/demo.mp4" --stats 2>/dev/null >"$tmp/stats.txt"
    end=$(date +%s.%N)
    # Also without the start-up, which weighs on a short span.
    local loading
    loading=$(awk '$1 == "loading:" { print $2 }' "$tmp/stats.txt")
    awk -v a="$begin" -v b="$end" -v from="$from" -v to="$to" -v size="$size" -v n="$ssaa" \
        -v l="$loading" 'BEGIN {
        s = to - from
        printf "== %s, --ssaa %s to H.264: %.1f s wall for %g s of demo, %.2f times real time",
            size, n, b - a, s, s / (b - a)
        printf " (%.2f after the %.1f s start-up)\n", s / (b - a - l), l }'
    echo "   file: $(stat -c %s "$tmp/demo.mp4") bytes; per frame (ms, median p95 max): $(
        awk '$1 == "read-back" { print $3, $4, $5 }' "$tmp/stats.txt")"
}
measure 800x600 1
measure 1920x1080 1
measure 3840x2160 1
