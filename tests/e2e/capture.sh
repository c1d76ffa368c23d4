#!/usr/bin/env bash
# The capture tool: bad input, frame-exact determinism, single scenes and the video's streams.
set -u
build=$1
source "$(dirname "$0")/lib.bash"
CAPTURE="$build/vorrel-capture"
CHECK="$build/tests/vq_frame_check"
WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'
cd "$build/data" || fail "no data folder"

# Bad input: a one-line error naming the problem, status 2, nothing written.
# Each runs in an empty folder of its own, where the outputs it names would go.
bad() { # expected-text args...
    local expected=$1
    shift
    rm -rf "$WORK/bad"
    mkdir "$WORK/bad"
    (cd "$WORK/bad" && "$CAPTURE" "$@" >"$WORK/out.txt" 2>"$WORK/err.txt")
    local status=$?
    expect_eq "$status" 2 "status for '$*'"
    expect_contains "$WORK/err.txt" "$expected" "message for '$*'"
    expect_eq "$(wc -l <"$WORK/err.txt")" 1 "one error line for '$*'"
    expect_eq "$(cat "$WORK/out.txt")" "" "standard output for '$*'"
    expect_eq "$(ls -A "$WORK/bad")" "" "files written for '$*'"
}
bad "unknown option '--fast'" --fast --frames f
bad "--from needs a time from 0 to 266" --from 300 --frames f
bad "--to needs a time from 0 to 266" --to -1 --video v.mp4
bad "--fps needs a whole number" --fps 0 --frames f
bad "is before --from" --from 20 --to 10 --frames f --video v.mp4
bad "outside 0 to 266" --at 12,400 --frames at
bad "unknown scene 'Nope'" --scene Nope --frames x
bad "cannot write frames into '/proc/vq-frames'" --frames /proc/vq-frames --video v.mp4
env PATH=/nonexistent "$CAPTURE" --video "$WORK/v.mp4" --to 1 >"$WORK/out.txt" 2>"$WORK/err.txt"
expect_eq "$?" 2 "status without ffmpeg"
expect_eq "$(cat "$WORK/err.txt")" "vorrel-capture: ffmpeg is not installed: it is needed for --video" \
    "message without ffmpeg"
[ -e "$WORK/v.mp4" ] && fail "a video was left behind without ffmpeg"

# The frame at a time reached by --at is the frame of a sequential run, byte for byte, for a
# lazy scene (Intro), the scroller's state (Creds) and a clock that never restarts (TunnelScene).
quietly "--at run" "$CAPTURE" --at 30.5,130,230 --frames "$WORK/at"
quietly "second --at run" "$CAPTURE" --at 30.5 --frames "$WORK/again"
for f in "$WORK"/at/*.png; do
    "$CHECK" shows "$f" 1 >/dev/null || fail "nothing to see in $("$CHECK" shows "$f" 1)"
done
cmp -s "$WORK/at/t-030.500.png" "$WORK/again/t-030.500.png" || fail "the same frame differs between runs"
check_sequential() { # time from to frame
    quietly "sequential run $2..$3" "$CAPTURE" --from "$2" --to "$3" --frames "$WORK/seq"
    [ -f "$WORK/seq/frame-$4.png" ] || fail "frame $4 was not written"
    cmp -s "$WORK/at/t-$1.png" "$WORK/seq/frame-$4.png" \
        || fail "--at $1 differs from the sequential frame $4"
}
check_sequential 030.500 30.45 30.52 001830
check_sequential 230.000 229.98 230.01 013800
# Frames before --from are drawn, not written.
[ -e "$WORK/seq/frame-013798.png" ] && fail "a frame before --from was written"
[ -e "$WORK/seq/frame-013799.png" ] || fail "the first frame of the span is missing"

# Across every slot boundary: the frames just after it, reached by a jump (--at in a fresh run,
# where the scene before never drew), are the frames of a run in which the scene before drew
# up to the boundary and left its OpenGL state behind (matrices, fog, blending, bindings).
for b in 26 90 122 170 194 226 249; do
    quietly "span across $b s" "$CAPTURE" --fps 2 --from "$((b - 1)).5" --to "$b.75" \
        --frames "$WORK/span-$b"
    quietly "--at $b,$b.5" "$CAPTURE" --fps 2 --at "$b,$b.5" --frames "$WORK/jump-$b"
    before=$(printf "%s/span-%d/frame-%06d.png" "$WORK" "$b" $((2 * b - 1)))
    first=$(printf "%s/span-%d/frame-%06d.png" "$WORK" "$b" $((2 * b)))
    second=$(printf "%s/span-%d/frame-%06d.png" "$WORK" "$b" $((2 * b + 1)))
    [ -f "$before" ] && [ -f "$first" ] && [ -f "$second" ] || fail "span across $b s: frames missing"
    cmp -s "$before" "$first" && fail "the frames on either side of $b s are the same"
    cmp -s "$WORK/jump-$b/t-$(printf %07.3f "$b").png" "$first" \
        || fail "the first frame at $b s differs between a jump and a run across the boundary"
    cmp -s "$WORK/jump-$b/t-$(printf %07.3f "$b.5").png" "$second" \
        || fail "the frame at $b.5 s differs between a jump and a run across the boundary"
done

# One scene alone, from its first frame, for --to seconds of its own clock; with --stats.
"$CAPTURE" --scene Tunnel1 --to 0.5 --fps 30 --frames "$WORK/scene" --stats \
    >"$WORK/stats.txt" 2>"$WORK/err.txt" ||
    fail "--scene Tunnel1: status $?: $(tail -n 5 "$WORK/err.txt")"
expect_no_gl_error "$WORK/err.txt"
expect_eq "$(ls "$WORK/scene" | wc -l)" 15 "frames of --scene Tunnel1 --to 0.5 --fps 30"
grep -qE "^Tunnel1 +15 " "$WORK/stats.txt" || fail "stats: $(cat "$WORK/stats.txt")"
grep -q "^loading: " "$WORK/stats.txt" || fail "stats without the loading time"
"$CHECK" shows "$WORK/scene/frame-000014.png" 1 >/dev/null || fail "nothing to see of Tunnel1"

# The video: both streams from 0, the span's frame count, audio as long as the video.
quietly "video run" "$CAPTURE" --from 26 --to 28 --video "$WORK/out.mp4"
[ -f "$WORK/out.mp4" ] || fail "no video written"
ls "$WORK" | grep -q partial && fail "partial files left behind"
probe() { ffprobe -v error -select_streams "$1" -show_entries "stream=$2" -of csv=p=0 "$WORK/out.mp4"; }
expect_eq "$(probe v:0 codec_name)" h264 "video codec"
expect_eq "$(probe v:0 pix_fmt)" yuv420p "pixel format"
expect_eq "$(probe v:0 nb_frames)" 120 "frames in the video"
expect_eq "$(probe a:0 codec_name)" aac "audio codec"
for s in v:0 a:0; do
    start=$(probe "$s" start_time)
    awk -v s="$start" 'BEGIN { exit !(s >= 0 && s < 0.001) }' || fail "stream $s starts at $start"
done
# The video's last frame shows the bars as the frame written for it does.
ffmpeg -v error -sseof -0.1 -i "$WORK/out.mp4" -frames:v 1 -update 1 "$WORK/last.png" \
    || fail "could not read the video's last frame"
"$CHECK" shows "$WORK/last.png" 10 >/dev/null || fail "nothing to see in the video"
vdur=$(probe v:0 duration)
adur=$(probe a:0 duration)
awk -v v="$vdur" -v a="$adur" 'BEGIN { d = v - a; if (d < 0) d = -d; exit !(d <= 1.0 / 60) }' \
    || fail "audio $adur s against video $vdur s"

echo "capture: all checks passed"
