#!/usr/bin/env bash
# Where an H.264 capture's processor time goes, per frame: drawing (the span drawn alone, no
# output), the colour conversion and read-back with the writer (what the video run adds in the
# capture itself), and the encoder (ffmpeg). With a second capture binary (e.g. one built from
# the commit before a change) both are measured one after the other in the same run, each
# figure beside the other's: compare them as ratios when the machine is shared.
# Usage: bench/capture-split.sh [FROM TO [SIZE [OTHER-CAPTURE]]]   (default 26 46 800x600)
# Needs the release build (and build/data-2160 for sizes taller than 600 lines).
set -euo pipefail
source "$(dirname "$0")/prologue.bash"
from=${1:-26}
to=${2:-46}
size=${3:-800x600}
other=${4:-}
folder=data
[ "${size#*x}" -gt 600 ] && folder=data-2160
cd "$build/$folder"
frames=$(awk -v a="$from" -v b="$to" 'BEGIN {
    f = int(a * 60); if (f < a * 60 - 1e-9) f++; t = int(b * 60); if (t < b * 60 - 1e-9) t++
    print t - f }')

echo "== machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== $size, $from to $to s ($frames frames), processor ms a frame"

# The processor seconds of a run: user + system, the encoder included.
run() { # capture output-file args...
    local capture=$1 out=$2
    shift 2
    /usr/bin/time -f "%U %S %e" -o "$tmp/time.txt" "$capture" --size "$size" --from "$from" \
        --to "$to" --stats "$@" >"$out" 2>/dev/null
    awk '{ printf "%.2f %.2f", $1 + $2, $3 }' "$tmp/time.txt"
}

measure() { # label capture
    local label=$1 capture=$2 alone video
    alone=$(run "$capture" "$tmp/alone.txt")
    video=$(run "$capture" "$tmp/video.txt" --video "$tmp/demo.mp4")
    local encoder
    encoder=$(awk '$1 == "processor:" { print $6 }' "$tmp/video.txt")
    awk -v label="$label" -v n="$frames" -v alone="$alone" -v video="$video" -v enc="$encoder" \
        -v span="$(awk -v a="$from" -v b="$to" 'BEGIN { print b - a }')" 'BEGIN {
        split(alone, a, " "); split(video, v, " ")
        draw = a[1] / n * 1000; total = v[1] / n * 1000
        if (enc == "") {
            printf "%s: drawing %.2f, the rest %.2f (conversion, read-back, encoder), total %.2f;", label, draw, total - draw, total
        } else {
            e = enc / n * 1000
            printf "%s: drawing %.2f, conversion and read-back %.2f, encoder %.2f, total %.2f;", label, draw, total - draw - e, e, total
        }
        printf " %.2f times real time (wall %.1f s)\n", span / v[2], v[2] }'
    awk '$1 == "conversion" || $1 == "read-back" { printf "   %s: median %s ms, p95 %s ms (wall, main thread)\n", $1, $3, $4 }' \
        "$tmp/video.txt"
}

measure "this build" "$build/vorrel-capture"
if [ -n "$other" ]; then
    measure "$other" "$other"
fi
