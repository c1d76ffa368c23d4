#!/usr/bin/env bash
# Capture to video: H.264 in the colours its tags name, the lossless master, bad video options,
# and the data folder that scripts/capture picks for the output's height.
set -u
build=$1
src=$2
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/video.bash"
CAPTURE="$build/vorrel-capture"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$build/data" || fail "no data folder"

# Bad video options: one line, status 2, and nothing under the name asked for.
expect_refused "--lossless needs --video FILE.mkv" "" --lossless --to 1
expect_refused "--lossless needs --video FILE.mkv" "" --lossless --at 3 --frames "$WORK/at"
expect_refused "the video must be a .mkv file, not '$WORK/master.mp4'" "$WORK/master" \
    --lossless --video "$WORK/master.mp4" --to 1
expect_refused "the video must be a .mkv file, not '$WORK/master'" "$WORK/master" \
    --lossless --video "$WORK/master" --to 1

# ffmpeg dying on the way: status 1, the reason, and nothing half-written left behind.
child_named() { # parent-pid name
    local p
    for p in /proc/[0-9]*; do
        if [ "$(cat "$p/comm" 2>/dev/null)" = "$2" ] && [ "$(awk '{ print $4 }' "$p/stat" 2>/dev/null)" = "$1" ]; then
            echo "${p#/proc/}"
            return 0
        fi
    done
    return 1
}
mkdir -p "$WORK/dies"
"$CAPTURE" --from 26 --to 60 --video "$WORK/dies/demo.mp4" >"$WORK/out.txt" 2>"$WORK/err.txt" &
capture=$!
# The encoder reads the frames from its pipe; the capture's first child only says its version.
encoder=""
for _ in $(seq 1 300); do
    encoder=$(child_named "$capture" ffmpeg) &&
        grep -q pipe:0 "/proc/$encoder/cmdline" 2>/dev/null && break
    encoder=""
    sleep 0.1
done
[ -n "$encoder" ] || fail "no ffmpeg under the capture"
sleep 1
kill "$encoder"
wait "$capture"
expect_eq "$?" 1 "status when ffmpeg dies"
expect_contains "$WORK/err.txt" "ffmpeg stopped taking frames" "message when ffmpeg dies"
expect_no_gl_error "$WORK/err.txt"
[ -z "$(ls "$WORK/dies")" ] || fail "left behind when ffmpeg died: $(ls "$WORK/dies")"

# Ctrl-C and a TERM signal stop the capture on the way, leaving no video behind.
for signal in INT TERM; do
    mkdir -p "$WORK/stop-$signal"
    # A script's background commands start with SIGINT ignored, which SDL respects: as from a
    # terminal, the capture starts with it at its default.
    perl -e '$SIG{INT} = "DEFAULT"; exec @ARGV or exit 127' \
        "$CAPTURE" --from 26 --to 60 --video "$WORK/stop-$signal/demo.mp4" >"$WORK/out.txt" \
        2>"$WORK/err.txt" &
    capture=$!
    for _ in $(seq 1 300); do
        child_named "$capture" ffmpeg >/dev/null && break
        sleep 0.1
    done
    sleep 1
    kill -s "$signal" "$capture"
    for _ in $(seq 1 300); do
        kill -0 "$capture" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$capture" 2>/dev/null && { kill -9 "$capture"; fail "SIG$signal did not stop the capture"; }
    wait "$capture"
    expect_eq "$?" 130 "status after SIG$signal"
    expect_contains "$WORK/err.txt" "vorrel-capture: stopped, no video written" "message after SIG$signal"
    expect_no_gl_error "$WORK/err.txt"
    [ -z "$(ls "$WORK/stop-$signal")" ] || fail "left behind after SIG$signal: $(ls "$WORK/stop-$signal")"
done

# Up to 600 lines: BT.601 as smpte170m. The red bars on the marble, and the gold glyphs over
# the credits' sky, where every pixel is a strong colour.
check_h264_span 800x600 smpte170m 27 27.5
check_h264_span 800x600 smpte170m 229.5 230
check_gpu_colours "$WORK/h264-800x600-27" 27
check_gpu_colours "$WORK/h264-800x600-229.5" 229.5
check_lossless_span 800x600 229.5 229.75

# Taller than 600 lines, from the 2160-line pictures as scripts/capture takes them: BT.709 in
# its tags and its colours, and the lossless master. 1366 is no multiple of 8: the conversion
# pads such rows and drops the padding at the read-back.
if [ -d "$build/data-2160/textures" ]; then
    (cd "$build/data-2160" && check_h264_span 1366x768 bt709 27 27.5 \
        && check_gpu_colours "$WORK/h264-1366x768-27" 27 \
        && check_lossless_span 1280x720 27 27.25) || exit 1
elif ! grep -q "VQ_SANITIZE:BOOL=ON" "$build/CMakeCache.txt"; then
    fail "no $build/data-2160: the tests' build makes it"
fi

# scripts/capture works from the 2160-line pictures whenever the output is taller than 600.
source "$src/scripts/capture"
expect_eq "$(data_folder_for --video x.mp4)" data "no size"
expect_eq "$(data_folder_for --size 800x600 --video x.mp4)" data "800x600"
expect_eq "$(data_folder_for --size 640x480)" data "640x480"
expect_eq "$(data_folder_for --from 3 --size 1920x1080 --ssaa 2)" data-2160 "1920x1080"
expect_eq "$(data_folder_for --size 3840x2160)" data-2160 "3840x2160"
expect_eq "$(data_folder_for --size 900x601)" data-2160 "900x601"
expect_eq "$(data_folder_for --size 1920x1080x2)" data "a malformed size (the capture refuses it)"
expect_eq "$(data_folder_for --frames 1920x1080)" data "a folder named like a size"

echo "video: all checks passed"
