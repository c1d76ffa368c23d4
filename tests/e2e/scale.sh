#!/usr/bin/env bash
# The capture at other sizes: bad sizes refused, the default size unchanged, larger frames that
# hold the same picture, the supersampling filter, black bars, and a 1080p video in BT.709.
set -u
build=$1
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/video.bash"
CAPTURE="$build/vorrel-capture"
DIFF="$build/tests/vq_frame_diff"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$build/data" || fail "no data folder"
sanitized=0
grep -q "VQ_SANITIZE:BOOL=ON" "$build/CMakeCache.txt" && sanitized=1

# Bad sizes: one line naming the problem, status 2, nothing left under the name asked for.
for size in 800x x600 800X600 800*600 -800x600 +800x600 0x600 800x0 800x600x2 " 800x600" \
    1e3x600 0x1p9x600 65537x600 9999999999x600 ""; do
    expect_refused "--size needs WIDTHxHEIGHT in pixels, each from 1 to 65536, not '$size'" "" \
        --size "$size"
done
for n in 0 5 1.5 two -1; do
    expect_refused "--ssaa needs a whole number from 1 to 4, not '$n'" "" --ssaa "$n"
done
expect_refused "H.264 video needs an even width and height (yuv420p), not 1919x1080" "$WORK/odd" \
    --size 1919x1080 --video "$WORK/odd.mp4" --to 1
expect_refused "H.264 video needs an even width and height (yuv420p), not 1920x1079" "$WORK/odd" \
    --size 1920x1079 --video "$WORK/odd.mp4" --to 1
# Beyond the driver's limits: refused once the context is open, before anything is written.
expect_refused "--size 40000x30000 is beyond this driver's largest frame" "$WORK/huge" \
    --size 40000x30000 --at 1 --frames "$WORK/huge"
expect_refused "--ssaa 4 draws the picture at 32768x24576, beyond this driver's largest" \
    "$WORK/vast" --size 8192x6144 --ssaa 4 --video "$WORK/vast.mp4" --to 1

# The picture of frame A's rectangle against frame B, and A's brightest channel around it.
region_check() { # a.png x,y,w,h b.png what
    local result
    result=$("$DIFF" --crop "$2" "$1" "$3") || fail "$4: cannot compare: $result"
    awk '$1 == "outside" { exit !($2 == 0) }' <<<"$result" || fail "$4: bars not black: $result"
    # A picture one pixel off, or another picture, differs by whole levels on average.
    awk '$1 == "mean" { exit !($2 <= 0.1 && $3 <= 0.1 && $4 <= 0.1) }' <<<"$result" \
        || fail "$4: the region does not hold the picture: $result"
}

if [ $sanitized -eq 1 ]; then
    # Under the sanitizers the framebuffers, the filter and the turned-over rows once: a
    # supersampled, pillarboxed frame against the same picture without bars.
    quietly "supersampled capture" "$CAPTURE" --size 640x360 --ssaa 3 --at 27.5 \
        --frames "$WORK/wide"
    quietly "supersampled capture without bars" "$CAPTURE" --size 480x360 --ssaa 3 --at 27.5 \
        --frames "$WORK/narrow"
    region_check "$WORK/wide/t-027.500.png" 80,0,480,360 "$WORK/narrow/t-027.500.png" "640x360"
    echo "scale: all checks passed (sanitized: bad input and one supersampled frame)"
    exit 0
fi

# One time in every scene of the timeline, each showing what the scene draws: cards, bars and
# their reflection, the wire and the solid tube, the greetings' glyphs.
AT=2,27.5,91,122.5,170.5,194.5,227.5,251.5
capture_at() { # dir args...
    local dir=$1
    shift
    "$CAPTURE" "$@" --at "$AT" --frames "$dir" >"$WORK/out.txt" 2>&1 \
        || fail "capture $* failed: $(tail -n 2 "$WORK/out.txt")"
    expect_no_gl_error "$WORK/out.txt"
}

# --size 800x600 --ssaa 1 is the default capture, byte for byte, also in the two scenes off
# the timeline.
capture_at "$WORK/base"
capture_at "$WORK/same" --size 800x600 --ssaa 1
for scene in Tunnel1 Tunnel2; do
    for run in base same; do
        sized=()
        [ $run = same ] && sized=(--size 800x600 --ssaa 1)
        quietly "--scene $scene" "$CAPTURE" "${sized[@]}" --scene $scene --from 0.5 --to 0.51 \
            --frames "$WORK/$run"
        mv "$WORK/$run/frame-000030.png" "$WORK/$run/$scene.png"
    done
done
for f in "$WORK"/base/*.png; do
    cmp -s "$f" "$WORK/same/$(basename "$f")" || fail "$(basename "$f") differs at --size 800x600"
done

# Twice the size, brought down to 800 x 600 by the mean of each 2 x 2 block: the same picture.
# Compared in 8 x 8 blocks, as edges and one-pixel wires fall on other pixels at another size.
# Measured here: no block beyond 19 levels (the wire tunnel; bars 15, cards 7); with the wire
# tube's line width left unscaled 79, with the scenes' viewport left unscaled 167 and more.
capture_at "$WORK/big" --size 1600x1200
for f in "$WORK"/base/t-*.png; do
    name=$(basename "$f")
    result=$("$DIFF" --blocks 8 "$WORK/big/$name" "$f") || fail "cannot compare $name: $result"
    echo "1600x1200 against 800x600, $name in 8x8 blocks: $(tr '\n' ' ' <<<"$result")"
    awk '$1 == "max" { exit !($2 <= 40) }' <<<"$result" \
        || fail "$name at 1600x1200 is not the 800x600 picture: $(tr '\n' ' ' <<<"$result")"
done

# --ssaa 2 is that very filter, done by the capture on the GPU: within a level (rounding).
capture_at "$WORK/ssaa" --ssaa 2
for f in "$WORK"/base/t-*.png; do
    name=$(basename "$f")
    result=$("$DIFF" "$WORK/big/$name" "$WORK/ssaa/$name") || fail "cannot compare $name: $result"
    awk '$1 == "max" { exit !($2 <= 1) }' <<<"$result" \
        || fail "$name with --ssaa 2 is not the area filter of 1600x1200: $(tr '\n' ' ' <<<"$result")"
done

# 1080p: H.264 High in BT.709 with its tags and the right colours (the red bars), and a frame
# of that span: black bars either side of the 1440 x 1080 picture.
check_h264_span 1920x1080 bt709 27 27.5
quietly "1440x1080 capture" "$CAPTURE" --size 1440x1080 --at 27.25 --frames "$WORK/r1440"
region_check "$(span_frame "$WORK/h264-1920x1080-27" 27 15)" 240,0,1440,1080 \
    "$WORK/r1440/t-027.250.png" "1920x1080"
# Taller than 4:3: bars above and below.
quietly "800x800 capture" "$CAPTURE" --size 800x800 --at 27.5 --frames "$WORK/tall"
region_check "$WORK/tall/t-027.500.png" 0,100,800,600 "$WORK/base/t-027.500.png" "800x800"

echo "scale: all checks passed"
