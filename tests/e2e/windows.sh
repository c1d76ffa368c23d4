#!/usr/bin/env bash
# The Windows release under Wine and Xvfb with Mesa, run from its unpacked zip (read-only) in a
# fresh Wine prefix, with a window manager: the zip's imports, the unit tests built for Windows,
# frames against the Linux capture, missing and broken data, the demo full screen on a
# 1920 x 1080 screen, its keys, Alt-F4, and its sound stream.
set -u
build=$1
source_dir=$2
source "$(dirname "$0")/lib.bash"
WORK=$(mktemp -d)
at_exit 'chmod -R u+w "$WORK"; rm -rf "$WORK"'
host=x86_64-w64-mingw32

# The zip of this checkout, made (or brought up to date) through the cached library recipe,
# with this build's pictures and track.
"$source_dir/scripts/windows" --data "$build/data" >"$WORK/made.txt" 2>"$WORK/make.txt"
expect_made $? "$WORK/make.txt" scripts/windows
zip=$(tail -n 1 "$WORK/made.txt")
[ -f "$zip" ] || fail "no zip: '$zip': $(tail -n 5 "$WORK/made.txt")"
# Made again from the same files, the zip is the same bytes.
made=$(sha256sum <"$zip")
"$source_dir/scripts/windows" --data "$build/data" >/dev/null 2>"$WORK/make.txt" ||
    fail "scripts/windows, again: status $?: $(tail -n 20 "$WORK/make.txt")"
expect_eq "$(sha256sum <"$zip")" "$made" "the zip's SHA-256 when made again"
mkdir "$WORK/zip"
unzip -q "$zip" -d "$WORK/zip" || fail "the zip does not unpack"
APP=$(echo "$WORK"/zip/vorrel-quisp-*-windows-x86_64)
[ -f "$APP/vorrel-quisp.exe" ] && [ -f "$APP/vorrel-capture.exe" ] || fail "programs not in $zip"
for f in README.txt bill-of-materials.txt mixdown.mp3 textures/vorrel.png SDL.dll SDL2.dll \
    licenses/sdl12-compat/LICENSE.txt licenses/sdl2/LICENSE.txt; do
    [ -s "$APP/$f" ] || fail "$f not in the zip"
done

# The release runs from a read-only folder and writes nothing beside itself: its listing is
# compared at the end (root writes through the modes).
chmod -R a-w "$APP"
listing() { (cd "$APP" && find . -printf '%p %s %T@\n' | LC_ALL=C sort); }
listing >"$WORK/listing.txt"

# Every DLL a program or DLL in the zip imports is in the zip or one of Windows' own. Each
# imports at least the C runtime: a list that comes back empty was not read.
SYSTEM="advapi32 gdi32 glu32 kernel32 msvcrt opengl32 shell32 shlwapi user32 winmm ole32 ws2_32"
SYSTEM+=" imm32 oleaut32 setupapi version" # SDL2's
for file in "$APP"/*.exe "$APP"/*.dll; do
    dlls=$($host-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
    [ -n "$dlls" ] || fail "no DLL listed as imported by $(basename "$file")"
    for dll in $dlls; do
        lower=$(echo "${dll%.*}" | tr 'A-Z' 'a-z')
        [ -f "$APP/$dll" ] || [[ " $SYSTEM " == *" $lower "* ]] ||
            fail "$(basename "$file") imports $dll, neither in the zip nor Windows' own"
    done
done

# A fresh prefix, made before anything runs in it; no dialog about Mono or Gecko.
export WINEPREFIX="$WORK/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The suite's headless settings are not a viewer's: sdl12-compat scales the picture to the screen.
unset WINEPATH SDL_VIDEODRIVER SDL_AUDIODRIVER SDL12COMPAT_OPENGL_SCALING
at_exit 'wineserver -k 2>/dev/null'
start_xvfb 1920x1080
# Openbox without its own Alt-F4 binding, so that the key reaches the program as on Windows.
sed '/<keybind key="A-F4">/,/<\/keybind>/d' /etc/xdg/openbox/rc.xml >"$WORK/openbox.xml"
grep -q 'key="A-F4"' "$WORK/openbox.xml" && fail "Openbox's Alt-F4 binding is still there"
openbox --config-file "$WORK/openbox.xml" >/dev/null 2>&1 &
OPENBOX_PID=$!
at_exit 'kill "$OPENBOX_PID" 2>/dev/null'
wineboot -i >"$WORK/wineboot.txt" 2>&1 ||
    fail "wineboot: status $?: $(tail -n 5 "$WORK/wineboot.txt")"
wineserver -w

# The unit tests that need no OpenGL, beside the zip's DLLs and the stand-in for ffmpeg.exe that
# the encoder's tests start, in a folder of their own (the release's is read-only).
STAND_IN="$source_dir/build-windows/stand-in/ffmpeg.exe"
mkdir "$WORK/unit"
cp "$source_dir/build-windows/vq_windows_tests.exe" "$STAND_IN" "$APP"/*.dll "$WORK/unit/"
(cd "$WORK/unit" && wine vq_windows_tests.exe --gtest_brief=1 >"$WORK/unit.txt" 2>&1) ||
    fail "unit tests under Wine: $(tail -n 30 "$WORK/unit.txt")"

# A short video with ffmpeg.exe on the PATH: its stand-in records the command line as ffmpeg
# reads it and the bytes of the frames. The folder and the name hold spaces, the paths
# backslashes.
mkdir -p "$WORK/stand-in" "$WORK/video out"
cp "$STAND_IN" "$WORK/stand-in/"
video=$(winepath -w "$WORK/video out/a b.mp4")
(cd "$APP" && WINEPATH=$(winepath -w "$WORK/stand-in") \
    VQ_STAND_IN_LOG=$(winepath -w "$WORK/ffmpeg.txt") \
    wine vorrel-capture.exe --from 10 --to 10.1 --video "$video" >"$WORK/video.txt" 2>&1) ||
    fail "--video under Wine: $(tail -n 5 "$WORK/video.txt")"
expect_eq "$(ls "$WORK/video out")" "a b.mp4" "what the video's folder holds"
[ -s "$WORK/ffmpeg.txt" ] || fail "ffmpeg.exe's stand-in was not started"
mapfile -t received <"$WORK/ffmpeg.txt"
expect_eq "${received[0]}" $((6 * 800 * 600 * 3 / 2)) "bytes of 6 frames of yuv420p at 800x600"
expect_eq "${received[-1]}" "${video%.mp4}.partial.mp4" "ffmpeg's output"
after() { # option: the argument after each
    printf '%s\n' "${received[@]:1}" | awk -v o="$1" 'last == o { print } { last = $0 }'
}
expect_eq "$(after -i | paste -sd'|')" "pipe:0|$video.soundtrack.wav" "ffmpeg's inputs"
expect_eq "$(after -video_size)" 800x600 "the frame size"
echo "--video under Wine: ${#received[@]} lines from ffmpeg.exe's stand-in"

# Frames at the same times as the Linux capture's: 40 dB at least; the same count reported.
TIMES=12,45,100,150,185,215,240,262
(cd "$APP" && wine vorrel-capture.exe --at "$TIMES" --frames "$(winepath -w "$WORK/win")" \
    >"$WORK/capture.txt" 2>&1) || fail "capture under Wine: $(tail -n 5 "$WORK/capture.txt")"
(cd "$build/data" && quietly "the Linux capture" "$build/vorrel-capture" --at "$TIMES" \
    --frames "$WORK/linux") || exit 1
same=0
for t in ${TIMES//,/ }; do
    f=$(printf "t-%07.3f.png" "$t")
    expect_psnr "$WORK/win/$f" "$WORK/linux/$f" "frame at $t s"
    [ "$PSNR" = inf ] && same=$((same + 1))
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
(cd "$WORK/broken-linux" && quietly "missing and broken data on Linux" \
    "$build/vorrel-capture" --at 8 --frames frames) || exit 1
expect_psnr "$WORK/broken-win/frames/t-008.000.png" "$WORK/broken-linux/frames/t-008.000.png" \
    "missing and broken data, frame at 8 s"

# The demo started from its folder with the given arguments; sets DEMO_PID and DEMO_WINDOW once
# its first scene's cards are on screen, the whole screen grabbed in $WORK/grab.png.
start_wine_demo() {
    (cd "$APP" && exec wine vorrel-quisp.exe "$@" >"$WORK/out.txt" 2>"$WORK/err.txt") &
    DEMO_PID=$!
    DEMO_WINDOW=""
    for _ in $(seq 1 600); do
        DEMO_WINDOW=$(xdotool search --name "^Vorrel Quisp$" 2>/dev/null | head -n 1)
        [ -n "$DEMO_WINDOW" ] && break
        kill -0 "$DEMO_PID" 2>/dev/null || fail "the demo ended: $(tail -n 5 "$WORK/err.txt")"
        sleep 0.1
    done
    [ -n "$DEMO_WINDOW" ] || fail "the demo's window did not appear"
    local shown=""
    for _ in $(seq 1 20); do
        sleep 1
        ffmpeg -v error -f x11grab -video_size 1920x1080 -i "$DISPLAY" -frames:v 1 -y \
            "$WORK/grab.png" || fail "could not grab the screen"
        ffmpeg -v error -i "$WORK/grab.png" -vf crop=1440:1080:240:0 -y "$WORK/picture.png" ||
            fail "could not crop the screen's grab"
        shown=$("$build/tests/vq_frame_check" shows "$WORK/picture.png" 0.5) && return 0
    done
    fail "the first scene is not on screen: $shown"
}

# The box around a frame's pixels brighter than black: x, y, width, height.
lit_box() { # png width
    ffmpeg -v error -i "$1" -f rawvideo -pix_fmt gray - | python3 -c '
import re, sys
w, d, lit = int(sys.argv[1]), sys.stdin.buffer.read(), re.compile(rb"[\x11-\xff]")
xs, ys = [], []
for y in range(len(d) // w):
    row = d[y * w:(y + 1) * w]
    first = lit.search(row)
    if first:
        xs += [first.start(), w - 1 - lit.search(row[::-1]).start()]
        ys.append(y)
print(min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1) if xs else print("none")
' "$2"
}

# The demo full screen (as it starts) on the 1920 x 1080 screen: the size line, the first scene
# on screen, the 4:3 picture scaled to 1440 x 1080 and centred, black at the sides (a mode
# switch to the picture's size would show it at the top left, unscaled); Escape quits at once
# with status 0; its sound through SDL's disk writer, the track from its first sample on.
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$(winepath -w "$WORK/sound.raw")"
# The writer waits a buffer's length after each (SDL_DISKAUDIODELAY must stay unset: SDL2's
# getenv on Windows returns one static buffer, and reading the delay overwrote the file's name).
start_wine_demo 800 600
# The screen against the Linux capture of the same time at the screen's size (which holds the
# picture at 1440 x 1080, centred): the boxes of their lit pixels agree to 24 px. The timeline
# follows the track, so the time is what the disk writer has written around the grab.
read -r rate channels < <("$build/tests/vq_recording_check" "$APP/mixdown.mp3") ||
    fail "the zip's track does not load"
stream_at_least() { # seconds
    local bytes=$((rate * channels * 2 * $1))
    for _ in $(seq 1 300); do
        [ "$(stat -c %s "$WORK/sound.raw" 2>/dev/null || echo 0)" -ge "$bytes" ] && return 0
        sleep 0.1
    done
    fail "the sound stream did not reach $1 s: $(tail -n 3 "$WORK/err.txt")"
}
stream_at_least 2
before=$(stat -c %s "$WORK/sound.raw")
ffmpeg -v error -f x11grab -video_size 1920x1080 -i "$DISPLAY" -frames:v 1 -y "$WORK/screen.png" ||
    fail "could not grab the screen"
after=$(stat -c %s "$WORK/sound.raw")
at=$(awk -v b="$before" -v a="$after" -v r="$rate" -v c="$channels" \
    'BEGIN { printf "%.3f", (a + b) / 2 / (r * c * 2) }')
(cd "$build/data" && quietly "the Linux capture at 1920x1080" "$build/vorrel-capture" \
    --at "$at" --size 1920x1080 --frames "$WORK/full") || exit 1
read -r -a shown < <(lit_box "$WORK/screen.png" 1920)
read -r -a expected < <(lit_box "$(ls "$WORK"/full/*.png | head -n 1)" 1920)
echo "full screen at $at s: lit box ${shown[*]}, the capture's ${expected[*]}"
[ ${#shown[@]} -eq 4 ] && [ ${#expected[@]} -eq 4 ] || fail "nothing lit to compare"
for i in 0 1 2 3; do
    diff=$((shown[i] - expected[i]))
    [ ${diff#-} -le 24 ] ||
        fail "full screen: lit box ${shown[*]}, expected ${expected[*]} (x y w h)"
done
# The sound check below needs the track's first 2 s after a start of a second or two: Escape
# only once 8 s of the stream are written (the disk writer keeps near real time).
stream_at_least 8
press Escape
started=$(date +%s)
wait_demo 10
expect_eq "$DEMO_STATUS" 0 "status after Escape"
echo "quit after Escape within $(($(date +%s) - started)) s"
expect_eq "$(head -c 21 "$WORK/out.txt")" "width: 800height: 600" "size line"

"$build/tests/vq_recording_check" "$APP/mixdown.mp3" "$WORK/sound.raw" 2 >"$WORK/sound.txt" ||
    fail "the sound stream is not the track: $(cat "$WORK/sound.txt")"
echo "sound: $(cat "$WORK/sound.txt")"

# Alt-F4: Windows closes the window, and the demo reads that as its quit event: it ends within
# a second, with status 0.
export SDL_AUDIODRIVER=dummy
start_wine_demo
press alt+F4
started=$(date +%s.%N)
wait_demo 1
expect_eq "$DEMO_STATUS" 0 "status after Alt-F4"
took=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }')
echo "quit after Alt-F4 within $took s"

expect_eq "$(listing)" "$(cat "$WORK/listing.txt")" "the release's folder after every run"
echo "PASS"
