#!/usr/bin/env bash
# The real binary's window: size arguments, start-up failures and their statuses, the keys.
set -u
build=$1
source "$(dirname "$0")/lib.bash"
DEMO="$build/vorrel-quisp"
WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'
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
wait_demo 60
expect_eq "$DEMO_STATUS" 0 "status after Escape"
expect_eq "$(cat "$WORK/out.txt" | head -c 22)" "width: 1024height: 768" "size text"

# One argument, or three: 800 x 600 and no size text; q quits with status 0.
for args in "640" "640 480 1"; do
    start_demo_window $args
    geometry=$(xdotool getwindowgeometry "$DEMO_WINDOW")
    echo "$geometry" | grep -q "Geometry: 800x600" || fail "window size for '$args': $geometry"
    press q
    wait_demo 60
    expect_eq "$DEMO_STATUS" 0 "status after q"
    grep -q "width:" out.txt && fail "size text printed for '$args'"
done

# A non-numeric width becomes 0 and is passed on; whatever SDL makes of it, no crash.
start_demo_window abc 600
press q
wait_demo 60
expect_eq "$DEMO_STATUS" 0 "status with width abc"
expect_eq "$(head -c 19 out.txt)" "width: 0height: 600" "size text for abc 600"

# f under a real X server: the display's surface becomes a window and full screen again.
SDL_VIDEODRIVER=x11 "$build/tests/vq_tests" --gtest_filter='SDLWindowTest.*' >"$WORK/toggle.txt" 2>&1 \
    || fail "full-screen toggle under X: $(tail -n 20 "$WORK/toggle.txt")"
grep -q "1 test.*PASSED\|PASSED.*1 test" "$WORK/toggle.txt" || fail "the toggle test did not run"

# f toggles full screen and the demo goes on; then Escape ends it.
start_demo_window
press f
sleep 1
kill -0 "$DEMO_PID" 2>/dev/null || fail "the demo ended after f"
press f
sleep 0.5
kill -0 "$DEMO_PID" 2>/dev/null || fail "the demo ended after a second f"
press Escape
wait_demo 60
expect_eq "$DEMO_STATUS" 0 "status after f then Escape"

# Closing the window, as a window manager asks it: status 0.
start_demo_window
"$build/tests/vq_close_window" "$DEMO_WINDOW" || fail "could not send the close request"
wait_demo 60
expect_eq "$DEMO_STATUS" 0 "status after closing the window"

# A size of 0 0 goes to SDL as it is; whatever SDL makes of it, a clean end.
start_demo_window 0 0
press q
wait_demo 60
expect_eq "$DEMO_STATUS" 0 "status with size 0 0"

# Holds the demo's loading on one picture: the picture is a FIFO, whose opening blocks until
# a writer comes. Returns once the demo waits on it, so a key pressed now lands in loading.
hold_loading_on() { # picture
    mkdir -p textures
    rm -f "textures/$1"
    mkfifo "textures/$1" || fail "could not make a FIFO"
    HELD="textures/$1"
    start_demo_window
    for _ in $(seq 1 300); do
        [ "$(cat "/proc/$DEMO_PID/wchan" 2>/dev/null)" = wait_for_partner ] && return 0
        kill -0 "$DEMO_PID" 2>/dev/null || fail "the demo ended while loading"
        sleep 0.1
    done
    fail "the demo never opened $HELD"
}

# Lets the held loading go on: the picture reads as an empty file, then as a missing one.
release_loading() {
    exec 3<>"$HELD"
    rm -f "$HELD"
    exec 3>&-
}

# q during loading takes effect in the first frame, before anything is drawn.
hold_loading_on vorrel.png
press q
sleep 0.5
kill -0 "$DEMO_PID" 2>/dev/null || fail "q ended the demo while it was still loading"
release_loading
wait_demo 30
expect_eq "$DEMO_STATUS" 0 "status after q during loading"
grep -q "local_timer" out.txt && fail "a frame was drawn after q during loading"

# Escape during the start-up wait: a track of silence keeps the wait going to its bound of
# 5 s, events are not read meanwhile, and the first frame ends the run without drawing. The
# last picture is held so that the wait starts just after the release.
ffmpeg -v error -f lavfi -i anullsrc=r=44100:cl=stereo -t 12 -c:a libmp3lame mixdown.mp3 \
    || fail "could not make a silent track"
hold_loading_on smiley.png
begin=$(date +%s.%N) # before the release: the wait cannot have begun yet
release_loading
press Escape
wait_demo 40
spent=$(awk -v a="$begin" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
expect_eq "$DEMO_STATUS" 0 "status after Escape during the wait"
grep -q "local_timer" out.txt && fail "a frame was drawn after Escape during the wait"
awk -v s="$spent" 'BEGIN { exit !(s >= 5.0) }' || fail "Escape cut the start-up wait short: $spent s"
rm -rf mixdown.mp3 textures

echo "window: all checks passed"
