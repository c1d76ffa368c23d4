#!/usr/bin/env bash
# Each x264 preset at CRF 18 on the same captured frames: encode speed, processor time, file
# size and PSNR. The frames are 2 s of every scene at 800 x 600, captured once losslessly and
# converted once to yuv420p (BT.601, as the capture tool does), so that only x264 is timed.
# Needs the release build; run it with nothing else running on the machine.
# PRESETS="superfast veryfast" bench/x264-presets.sh measures only those.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy SDL12COMPAT_OPENGL_SCALING=0
presets=${PRESETS:-"ultrafast superfast veryfast faster fast medium slow slower veryslow placebo"}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$build/data"

echo "== machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
# Early in each slot, with its content on screen: few frames to draw before the span.
spans=(8 27 92 123 171 195 229.5 252)
for from in "${spans[@]}"; do
    to=$(awk -v f="$from" 'BEGIN { print f + 2 }')
    ../vorrel-capture --from "$from" --to "$to" --video "$tmp/master-$from.mkv" --lossless \
        >/dev/null 2>&1
    ffmpeg -v error -i "$tmp/master-$from.mkv" -map 0:v \
        -vf "scale=out_color_matrix=smpte170m:out_range=tv:flags=bicubic+accurate_rnd,format=yuv420p" \
        -f rawvideo - >>"$tmp/frames.yuv"
done
frames=$(($(stat -c %s "$tmp/frames.yuv") / (800 * 600 * 3 / 2)))
seconds=$(awk -v n="$frames" 'BEGIN { print n / 60 }')
cat "$tmp/frames.yuv" >/dev/null # in the page cache before the first timing
echo "== $frames frames ($seconds s at 60 fps) from ${#spans[@]} spans"

input=(-f rawvideo -pix_fmt yuv420p -video_size 800x600 -framerate 60 -i "$tmp/frames.yuv")
printf "%-10s %8s %12s %10s %10s %9s %-20s\n" preset "fps" "cpu ms/frame" "size MB" "kbit/s" \
    "PSNR dB" profile
for p in $presets; do
    /usr/bin/time -f "%e %U %S" -o "$tmp/time.txt" ffmpeg -v error -y "${input[@]}" \
        -c:v libx264 -preset "$p" -crf 18 "$tmp/$p.mp4"
    read -r wall user sys <"$tmp/time.txt"
    bytes=$(stat -c %s "$tmp/$p.mp4")
    psnr=$(ffmpeg -hide_banner -i "$tmp/$p.mp4" "${input[@]}" -lavfi "[0:v][1:v]psnr" -f null - 2>&1 |
        sed -n 's/.*PSNR.* average:\([0-9.inf]*\).*/\1/p' | tail -n 1)
    profile=$(ffprobe -v error -select_streams v:0 -show_entries stream=profile -of csv=p=0 "$tmp/$p.mp4")
    awk -v p="$p" -v n="$frames" -v w="$wall" -v u="$user" -v s="$sys" -v b="$bytes" \
        -v d="$seconds" -v q="$psnr" -v pr="$profile" 'BEGIN {
        printf "%-10s %8.1f %12.2f %10.2f %10.0f %9.2f %-20s\n", p, n / w, (u + s) * 1000 / n,
            b / 1e6, b * 8 / d / 1000, q, pr }'
    rm -f "$tmp/$p.mp4"
done
