#!/usr/bin/env bash
# The Windows release under Wine and Xvfb with Mesa, run from its unpacked zip in a fresh Wine
# prefix: the zip's imports, the unit tests built for Windows, frames against the Linux
# capture, missing and broken data, the demo's window and keys, and its sound stream.
set -u
build=$1
source_dir=$2
source "$(dirname "$0")/lib.bash"
WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'
host=x86_64-w64-mingw32

# The zip of this checkout, made (or brought up to date) through the cached library recipe,
# with this build's pictures and track.
zip=$("$source_dir/scripts/windows" --data "$build/data" 2>"$WORK/make.txt" | tail -n 1) ||
    fail "scripts/windows: $(tail -n 20 "$WORK/make.txt")"
[ -f "$zip" ] || fail "no zip: $zip"
# Made again from the same files, the zip is the same bytes.
made=$(sha256sum <"$zip")
"$source_dir/scripts/windows" --data "$build/data" >/dev/null 2>"$WORK/make.txt" ||
    fail "scripts/windows, again: $(tail -n 20 "$WORK/make.txt")"
expect_eq "$(sha256sum <"$zip")" "$made" "the zip's SHA-256 when made again"
mkdir "$WORK/zip"
unzip -q "$zip" -d "$WORK/zip" || fail "the zip does not unpack"
APP=$(echo "$WORK"/zip/vorrel-quisp-*-windows-x86_64)
[ -f "$APP/vorrel-quisp.exe" ] && [ -f "$APP/vorrel-capture.exe" ] || fail "programs not in $zip"
for f in README.txt mixdown.mp3 textures/vorrel.png licenses/sdl/COPYING.txt; do
    [ -s "$APP/$f" ] || fail "$f not in the zip"
done

# Every DLL a program or DLL in the zip imports is in the zip or one of Windows' own.
SYSTEM="advapi32 gdi32 glu32 kernel32 msvcrt opengl32 shell32 shlwapi user32 winmm ole32 ws2_32"
for file in "$APP"/*.exe "$APP"/*.dll; do
    for dll in $($host-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
        lower=$(echo "${dll%.*}" | tr 'A-Z' 'a-z')
        [ -f "$APP/$dll" ] || [[ " $SYSTEM " == *" $lower "* ]] ||
            fail "$(basename "$file") imports $dll, neither in the zip nor Windows' own"
    done
done

# A fresh prefix, made before anything runs in it; no dialog about Mono or Gecko.
export WINEPREFIX="$WORK/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH SDL_VIDEODRIVER SDL_AUDIODRIVER
at_exit 'wineserver -k 2>/dev/null'
start_xvfb
wineboot -i >/dev/null 2>&1 || fail "wineboot failed"
wineserver -w

# The unit tests that need no OpenGL, beside the zip's DLLs.
cp "$source_dir/build-windows/vq_windows_tests.exe" "$APP/"
(cd "$APP" && wine vq_windows_tests.exe --gtest_brief=1 >"$WORK/unit.txt" 2>&1) ||
    fail "unit tests under Wine: $(tail -n 30 "$WORK/unit.txt")"
rm "$APP/vq_windows_tests.exe"

# PSNR of two PNG frames in dB ("inf" when the pixels are the same).
psnr() {
    ffmpeg -v info -nostats -i "$1" -i "$2" -lavfi psnr -f null - 2>&1 |
        sed -n 's/.*average:\([0-9.inf]*\).*/\1/p'
}

# Frames at the same times as the Linux capture's: 40 dB at least; the same count reported.
TIMES=12,45,100,150,185,215,240,262
(cd "$APP" && wine vorrel-capture.exe --at "$TIMES" --frames "$(winepath -w "$WORK/win")" \
    >"$WORK/capture.txt" 2>&1) || fail "capture under Wine: $(tail -n 5 "$WORK/capture.txt")"
(cd "$build/data" && "$build/vorrel-capture" --at "$TIMES" --frames "$WORK/linux" \
    >/dev/null 2>&1) || fail "the Linux capture failed"
same=0
for t in ${TIMES//,/ }; do
    f=$(printf "t-%07.3f.png" "$t")
    [ -f "$WORK/win/$f" ] || fail "no frame $f from Wine"
    db=$(psnr "$WORK/win/$f" "$WORK/linux/$f")
    echo "frame at $t s: PSNR $db dB"
    if [ "$db" = inf ]; then
        same=$((same + 1))
    else
        awk "BEGIN { exit !($db >= 40) }" || fail "frame at $t s: PSNR $db dB, below 40"
    fi
done
echo "identical frames: $same of 8"

# Missing and broken data as on Linux, in one folder: a missing picture and a missing track
# leave the frame Linux draws; a truncated PNG does not crash.
broken() { # folder
    mkdir -p "$1"
    cp -r "$build/data/textures" "$1/"
    rm "$1/textures/vorrel.png"
    head -c 300 "$build/data/textures/quisp.png" >"$1/textures/quisp.png"
}
broken "$WORK/broken-win"
cp "$APP"/*.exe "$APP"/*.dll "$WORK/broken-win/"
broken "$WORK/broken-linux"
(cd "$WORK/broken-win" && wine vorrel-capture.exe --at 8 --frames frames >out.txt 2>&1) ||
    fail "missing and broken data under Wine: status $?: $(tail -n 3 "$WORK/broken-win/out.txt")"
(cd "$WORK/broken-linux" && "$build/vorrel-capture" --at 8 --frames frames >/dev/null 2>&1) ||
    fail "missing and broken data on Linux failed"
db=$(psnr "$WORK/broken-win/frames/t-008.000.png" "$WORK/broken-linux/frames/t-008.000.png")
echo "missing and broken data, frame at 8 s: PSNR $db dB"
[ "$db" = inf ] || awk "BEGIN { exit !($db >= 40) }" || fail "missing and broken data: $db dB"

# The demo in its window: the size line, the first scene on screen, Escape quits at once with
# status 0; its sound through SDL's disk writer, the track from its first sample on.
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$(winepath -w "$WORK/sound.raw")"
export SDL_DISKAUDIODELAY=20 # about a buffer's length: the track plays near real time
(cd "$APP" && exec wine vorrel-quisp.exe 1024 768 >"$WORK/out.txt" 2>"$WORK/err.txt") &
DEMO_PID=$!
DEMO_WINDOW=""
for _ in $(seq 1 600); do
    DEMO_WINDOW=$(xdotool search --name "^Vorrel Quisp$" 2>/dev/null | head -n 1)
    [ -n "$DEMO_WINDOW" ] && break
    kill -0 "$DEMO_PID" 2>/dev/null || fail "the demo ended: $(tail -n 5 "$WORK/err.txt")"
    sleep 0.1
done
[ -n "$DEMO_WINDOW" ] || fail "the demo's window did not appear"
# The first scene's cards: within 20 s a grab shows them.
shown=""
for _ in $(seq 1 20); do
    sleep 1
    ffmpeg -v error -f x11grab -video_size 1024x768 -i "$DISPLAY" -frames:v 1 -y "$WORK/grab.png" ||
        fail "could not grab the screen"
    shown=$("$build/tests/vq_frame_check" shows "$WORK/grab.png" 0.5) && break
    shown=""
done
[ -n "$shown" ] || fail "the first scene is not on screen: $("$build/tests/vq_frame_check" shows "$WORK/grab.png" 0.5)"
# The sound check below needs the track's first 2 s after a start of a second or two: Escape
# only once 8 s of the stream are written (the disk writer keeps near real time).
read -r rate channels < <("$build/tests/vq_recording_check" "$APP/mixdown.mp3")
for _ in $(seq 1 300); do
    [ "$(stat -c %s "$WORK/sound.raw" 2>/dev/null || echo 0)" -ge $((rate * channels * 2 * 8)) ] &&
        break
    sleep 0.1
done
press Escape
started=$(date +%s)
wait_demo 10
expect_eq "$DEMO_STATUS" 0 "status after Escape"
echo "quit after Escape within $(($(date +%s) - started)) s"
expect_eq "$(head -c 22 "$WORK/out.txt")" "width: 1024height: 768" "size line"

"$build/tests/vq_recording_check" "$APP/mixdown.mp3" "$WORK/sound.raw" 2 >"$WORK/sound.txt" ||
    fail "the sound stream is not the track: $(cat "$WORK/sound.txt")"
echo "sound: $(cat "$WORK/sound.txt")"
echo "PASS"
