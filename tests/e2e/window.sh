#!/usr/bin/env bash
# The real binary's window: size arguments, start-up failures and their statuses, the keys.
set -u
build=$1
source "$(dirname "$0")/lib.bash"
DEMO="$build/vorrel-quisp"
WORK=$(mktemp -d)
cd "$WORK" || exit 1

# A size SDL refuses: the message and status 1.
for size in "100000 100000" "-1 -1"; do
    SDL_VIDEODRIVER=offscreen "$DEMO" $size >out.txt 2>err.txt
    expect_eq "$?" 1 "status for size $size"
    expect_contains err.txt "Video mode set failed: " "message for size $size"
    expect_eq "$(cat out.txt)" "width: ${size% *}height: ${size#* }" "size text for $size"
done

# No display at all: the initialisation message and status 1.
env -u DISPLAY SDL_VIDEODRIVER=x11 "$DEMO" >out.txt 2>err.txt
expect_eq "$?" 1 "status without a display"
expect_contains err.txt "Video initialization failed: " "message without a display"

start_xvfb

# 1024 768: the two texts run together, then Escape quits with status 0.
start_demo_window 1024 768
geometry=$(xdotool getwindowgeometry "$DEMO_WINDOW")
echo "$geometry" | grep -q "Geometry: 1024x768" || fail "window size: $geometry"
press Escape
wait_demo 20
expect_eq "$DEMO_STATUS" 0 "status after Escape"
expect_eq "$(cat "$WORK/out.txt" | head -c 22)" "width: 1024height: 768" "size text"

# One argument, or three: 800 x 600 and no size text; q quits with status 0.
for args in "640" "640 480 1"; do
    start_demo_window $args
    geometry=$(xdotool getwindowgeometry "$DEMO_WINDOW")
    echo "$geometry" | grep -q "Geometry: 800x600" || fail "window size for '$args': $geometry"
    press q
    wait_demo 20
    expect_eq "$DEMO_STATUS" 0 "status after q"
    grep -q "width:" out.txt && fail "size text printed for '$args'"
done

# A non-numeric width becomes 0 and is passed on; whatever SDL makes of it, no crash.
start_demo_window abc 600
press q
wait_demo 20
expect_eq "$DEMO_STATUS" 0 "status with width abc"
expect_eq "$(head -c 19 out.txt)" "width: 0height: 600" "size text for abc 600"

# f toggles full screen and the demo goes on; then Escape ends it.
start_demo_window
press f
sleep 1
kill -0 "$DEMO_PID" 2>/dev/null || fail "the demo ended after f"
press f
sleep 0.5
kill -0 "$DEMO_PID" 2>/dev/null || fail "the demo ended after a second f"
press Escape
wait_demo 20
expect_eq "$DEMO_STATUS" 0 "status after f then Escape"

# Closing the window, as a window manager asks it: status 0.
start_demo_window
"$build/tests/vq_close_window" "$DEMO_WINDOW" || fail "could not send the close request"
wait_demo 20
expect_eq "$DEMO_STATUS" 0 "status after closing the window"

# A size of 0 0 goes to SDL as it is; whatever SDL makes of it, a clean end.
start_demo_window 0 0
press q
wait_demo 20
expect_eq "$DEMO_STATUS" 0 "status with size 0 0"

# q during loading takes effect in the first frame.
start_demo_window
press q
wait_demo 20
expect_eq "$DEMO_STATUS" 0 "status after q during loading"

# Escape during the start-up wait: a track of silence keeps the wait going to its bound.
ffmpeg -v error -f lavfi -i anullsrc=r=44100:cl=stereo -t 12 -c:a libmp3lame mixdown.mp3 \
    || fail "could not make a silent track"
begin=$(date +%s)
start_demo_window
sleep 1
press Escape
wait_demo 20
expect_eq "$DEMO_STATUS" 0 "status after Escape during the wait"
spent=$(($(date +%s) - begin))
[ "$spent" -le 9 ] || fail "the start-up wait lasted longer than its bound: $spent s"
rm -f mixdown.mp3

echo "window: all checks passed"
