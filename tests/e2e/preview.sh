#!/usr/bin/env bash
# The preview tool in a real window under Xvfb, driven by keys: the tube at --from 200, a pause
# that holds picture and sound, exact seeks (the window shows vorrel-capture --at's frame) in
# the tunnel and in the credits, the status line, r after a picture changed, Escape.
set -u
build=$1
source "$(dirname "$0")/lib.bash"
PREVIEW="$build/vorrel-preview"
CAPTURE="$build/vorrel-capture"
WORK=$(mktemp -d)
OUT="$WORK/out.txt"

cleanup() {
    stop_demo
    rm -rf "$WORK"
}
if declare -F at_exit >/dev/null; then
    at_exit cleanup
else
    trap cleanup EXIT
fi

# Bad input: one line, status 2.
bad() { # expected-text args...
    local expected=$1
    shift
    "$PREVIEW" "$@" >"$WORK/bad-out.txt" 2>"$WORK/bad-err.txt"
    expect_eq "$?" 2 "status for '$*'"
    expect_contains "$WORK/bad-err.txt" "$expected" "message for '$*'"
    expect_eq "$(wc -l <"$WORK/bad-err.txt")" 1 "one error line for '$*'"
}
bad "--from needs a time from 0 to 266 seconds, not '300'" --from 300
bad "--loop needs two times from 0 to 266 seconds as A,B, not '12'" --loop 12
bad "--loop 20,10 runs backwards" --loop 20,10
"$PREVIEW" --help >"$WORK/help.txt" || fail "--help failed"
for key in space Left Right Shift Ctrl "Page Up" "Page Down" Home Escape; do
    expect_contains "$WORK/help.txt" "$key" "--help on the keys"
done

# A data folder of its own: r is tried by changing a picture in it.
mkdir -p "$WORK/data/textures" "$WORK/shots" "$WORK/seeks"
cp "$build/data/textures/"*.png "$WORK/data/textures/"
ln -s "$build/data/mixdown.mp3" "$WORK/data/mixdown.mp3"
cd "$WORK/data" || fail "no data folder"

start_xvfb
if ! declare -F at_exit >/dev/null; then
    trap 'cleanup; kill $XVFB_PID 2>/dev/null' EXIT
fi

# Starts the preview in a window; sets DEMO_PID and DEMO_WINDOW (its own window, found by its
# process: the title changes once the preview has started).
start_preview() { # args...
    SDL_VIDEODRIVER=x11 "$PREVIEW" "$@" >"$OUT" 2>"$WORK/err.txt" &
    DEMO_PID=$!
    DEMO_WINDOW=$(timeout 60 xdotool search --sync --pid "$DEMO_PID" | head -n 1)
    [ -n "$DEMO_WINDOW" ] || fail "the preview's window did not appear with $*"
}
start_preview --from 200 --shots "$WORK/shots"

# Waits until the preview has written one more line starting with prefix; prints it.
next_line() { # prefix key
    local before
    before=$(grep -c "^$1" "$OUT")
    press "$2"
    for _ in $(seq 1 900); do
        if [ "$(grep -c "^$1" "$OUT")" -gt "$before" ]; then
            grep "^$1" "$OUT" | tail -n 1
            return 0
        fi
        kill -0 "$DEMO_PID" 2>/dev/null || fail "the preview ended: $(cat "$WORK/err.txt")"
        sleep 0.1
    done
    fail "no answer to $2 within 90 s"
}
# The preview's state after every key before it: time, frame, scene, play state, sound.
state() { next_line "time=" p; }
field() { # line name
    echo "$1" | tr ' ' '\n' | sed -n "s/^$2=//p"
}
# Writes the shown frame; prints the file's path.
shot() { next_line "wrote " s | cut -d' ' -f2; }
# What the window shows on the X screen, as raw RGB rows top first.
grab() { # file
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$DEMO_WINDOW")"
    ffmpeg -v error -f x11grab -video_size 800x600 -i "$DISPLAY+$X,$Y" -frames:v 1 \
        -f rawvideo -pix_fmt rgb24 -y "$1" || fail "could not grab the screen"
}
# Grabs the window until the test (a command, given the grab's path last) holds; fails after 20 s.
screen_until() { # file what test...
    local file=$1 what=$2
    shift 2
    for _ in $(seq 1 100); do
        grab "$file"
        "$@" "$file" && return 0
        kill -0 "$DEMO_PID" 2>/dev/null || fail "$what: the preview ended: $(cat "$WORK/err.txt")"
        sleep 0.2
    done
    fail "$what: the window did not show it within 20 s"
}
same_as() { cmp -s "$1" "$2"; }
differs_from() { ! cmp -s "$1" "$2"; }
# The window once two grabs in a row are the same (a paused preview redraws within 30 ms).
settled() { # file
    grab "$1.before"
    screen_until "$1" "a still picture" same_as "$1.before"
    rm -f "$1.before"
}
raw() { # png file
    ffmpeg -v error -i "$1" -f rawvideo -pix_fmt rgb24 -y "$2" || fail "could not read $1"
}

# Started at 200 s, playing: the textured tube, grey-blue plates and orange bands on black.
line=$(state)
expect_eq "$(field "$line" scene)" TunnelScene "scene at --from 200"
expect_eq "$(field "$line" state)" playing "play state at start"
expect_eq "$(xdotool getwindowname "$DEMO_WINDOW")" "Vorrel Quisp preview" "the window's title"
tube_counts() { # file
    od -An -v -tu1 -w3 "$1" | awk '
        { if ($1 > 150 && $2 > 60 && $3 < 100 && $1 > $2) orange++
          else if ($3 > $1 + 10 && $3 > 60) plate++ }
        END { print orange + 0, plate + 0 }'
}
shows_tube() { # file
    local counts
    counts=$(tube_counts "$1")
    [ "${counts% *}" -gt 500 ] && [ "${counts#* }" -gt 20000 ]
}
grab "$WORK/start.rgb"
shows_tube "$WORK/start.rgb" || screen_until "$WORK/start.rgb" \
    "the textured tube (orange, plate pixels: $(tube_counts "$WORK/start.rgb"))" shows_tube
# Playing, the sound moves on.
sound1=$(field "$(state)" sound)
sleep 0.5
sound2=$(field "$(state)" sound)
[ "$sound2" -gt "$sound1" ] || fail "the sound did not move while playing: $sound1 then $sound2"

# Paused: two screenshots a second apart are the same, and the sound stays where it is,
# at the time shown.
press space
paused=$(state)
expect_eq "$(field "$paused" state)" paused "play state after space"
settled "$WORK/paused1.rgb"
sleep 1
grab "$WORK/paused2.rgb"
cmp -s "$WORK/paused1.rgb" "$WORK/paused2.rgb" || fail "the paused window changed within a second"
again=$(state)
expect_eq "$(field "$again" time)" "$(field "$paused" time)" "time while paused"
expect_eq "$(field "$again" sound)" "$(field "$paused" sound)" "sound position while paused"
rate=$(field "$paused" rate)
ms=$(field "$paused" time | tr -d .)
expect_eq "$(field "$paused" sound)" "$((10#$ms * rate / 1000))" "sound position of the time"

# An exact seek shows the capture's frame: its PNG byte for byte, and the window the same.
check_seek() { # key what
    press "$1"
    local line frame time
    line=$(state)
    frame=$(field "$line" frame)
    [ "$frame" != "-" ] || fail "$2: not on a frame after the seek: $line"
    expect_eq "$(field "$line" sound)" "$((frame * rate / 60))" "$2: sound held at the frame"
    time=$(field "$line" time)
    local png
    png=$(shot)
    expect_eq "$(basename "$png")" "t-$(printf %07.3f "$time").png" "$2: the shot's name"
    raw "$png" "$WORK/shot.rgb"
    screen_until "$WORK/window.rgb" "$2: the shot in the window" same_as "$WORK/shot.rgb"
    cp "$png" "$WORK/seeks/"
    echo "$time $WORK/seeks/$(basename "$png") $2" >>"$WORK/seeks.txt"
    SEEK_SCENE=$(field "$line" scene)
}
check_seek Right "5 s on in the tunnel"
expect_eq "$SEEK_SCENE" TunnelScene "scene after Right"
check_seek Next "the next scene"
expect_eq "$SEEK_SCENE" Creds "scene after Page Down"
check_seek Right "5 s into the credits"
check_seek shift+Right "1 s on"
check_seek ctrl+Right "one frame on"
check_seek shift+Left "1 s back within the slot"
expect_eq "$SEEK_SCENE" Creds "scene after Shift+Left"

# The status line: drawn when shown, nothing at all when hidden again.
press h
screen_until "$WORK/status.rgb" "the status line after h" differs_from "$WORK/shot.rgb"
press h
screen_until "$WORK/hidden.rgb" "no status line after h again" same_as "$WORK/shot.rgb"

# r after the background picture changed on disk: the same time, the new picture.
cp "$WORK/data/textures/tunnel.png" "$WORK/data/textures/bg.png"
before=$(state)
press r
after=$(state)
expect_eq "$(field "$after" frame)" "$(field "$before" frame)" "frame after r"
reloaded=$(shot)
cmp -s "$reloaded" "$(tail -n 1 "$WORK/seeks.txt" | cut -d' ' -f2)" \
    && fail "r did not show the changed picture"
mkdir -p "$WORK/after"
mv "$reloaded" "$WORK/after/"

press Escape
wait_demo 30
expect_eq "$DEMO_STATUS" 0 "status after Escape"

# The capture's frames at the same times: from the unchanged data, and after the change. On
# the same X server: a window's depth buffer is finer than the offscreen driver's, which moves
# a few pixels where the tube hides itself.
# A failed capture ends the script with its last lines (in a subshell: exit 1 passes it on).
capture() { SDL_VIDEODRIVER=x11 quietly "the capture $*" "$CAPTURE" "$@"; }
times=$(cut -d' ' -f1 "$WORK/seeks.txt" | paste -sd,)
(cd "$build/data" && capture --at "$times" --frames "$WORK/capture") || exit 1
while read -r time png what; do
    cmp -s "$png" "$WORK/capture/$(basename "$png")" \
        || fail "after a seek ($what) the frame at $time differs from vorrel-capture --at $time"
done <"$WORK/seeks.txt"
time=$(field "$after" time)
capture --at "$time" --frames "$WORK/capture-after"
cmp -s "$WORK/after/$(basename "$reloaded")" "$WORK/capture-after/$(basename "$reloaded")" \
    || fail "after r the frame at $time differs from vorrel-capture --at $time with the new picture"

# A loop plays its span over and over; past its end play goes on to the timeline's end and
# pauses on the last frame.
start_preview --loop 230,230.4
state >/dev/null
sleep 1.5
line=$(state)
awk -v t="$(field "$line" time)" 'BEGIN { exit !(t >= 230 && t < 230.4) }' \
    || fail "the loop 230,230.4 is at $(field "$line" time) after 1.5 s"
expect_eq "$(field "$line" state)" playing "play state in a loop"
press Next
press Right
press Right
press Right
line=$(state)
expect_eq "$(field "$line" scene)" Sex "scene after Page Down"
for _ in $(seq 1 60); do
    line=$(state)
    [ "$(field "$line" state)" = paused ] && break
    sleep 0.5
done
expect_eq "$(field "$line" state)" paused "play state at the end"
expect_eq "$(field "$line" frame)" 15959 "the frame the end pauses on"
press q
wait_demo 30
expect_eq "$DEMO_STATUS" 0 "status after q"

# The other keys, paused, each answered on the state line: Page Up, Home, Page Down, Ctrl+Left
# and Left. Ctrl+Left from 90 s is the deepest seek there is: the last frame of the 64-second
# slot (Intro, 26 to 90 s), every frame of the slot drawn unseen before it, as the capture's.
mkdir -p "$WORK/keys"
start_preview --from 92 --paused --shots "$WORK/keys"
after_key() { # key frame scene
    local line
    press "$1"
    line=$(state)
    expect_eq "$(field "$line" frame) $(field "$line" scene)" "$2 $3" "frame and scene after $1"
}
line=$(state)
expect_eq "$(field "$line" frame) $(field "$line" scene)" "5520 Test" "frame and scene at --from 92"
after_key Prior 1560 Intro
after_key Home 0 Preface
after_key Next 1560 Intro
after_key Next 5400 Test
after_key ctrl+Left 5399 Intro
deep=$(shot)
raw "$deep" "$WORK/deep.rgb"
screen_until "$WORK/window.rgb" "Intro's last frame in the window" same_as "$WORK/deep.rgb"
after_key Left 5099 Intro
# The capture draws those 3840 frames in full (31 s on a quiet machine): the plain build only.
if ! grep -q "VQ_SANITIZE:BOOL=ON" "$build/CMakeCache.txt"; then
    (cd "$build/data" && capture --at 89.983 --frames "$WORK/capture-deep") || exit 1
    cmp -s "$deep" "$WORK/capture-deep/t-089.983.png" \
        || fail "Intro's last frame after Ctrl+Left from 90 s differs from vorrel-capture --at 89.983"
fi
press q
wait_demo 30
expect_eq "$DEMO_STATUS" 0 "status after q"

# Full screen, as a window manager grants it (Openbox here): f fills the screen and gives the
# window back, the frame held; --fullscreen starts so.
openbox --sm-disable >"$WORK/wm.txt" 2>&1 &
WM_PID=$!
at_exit 'stop_pid "$WM_PID"'
# A window mapped before Openbox has taken the screen is left unmanaged, and f then changes
# nothing: wait until it answers for its desktops.
for _ in $(seq 1 300); do
    xdotool get_num_desktops >/dev/null 2>&1 && break
    kill -0 "$WM_PID" 2>/dev/null || fail "Openbox ended: $(cat "$WORK/wm.txt")"
    sleep 0.1
done
xdotool get_num_desktops >/dev/null 2>&1 || fail "Openbox did not take the screen within 30 s"
size_until() { # WxH what
    local X Y WIDTH HEIGHT SCREEN WINDOW
    for _ in $(seq 1 100); do
        eval "$(xdotool getwindowgeometry --shell "$DEMO_WINDOW")"
        [ "${WIDTH}x$HEIGHT" = "$1" ] && return 0
        sleep 0.2
    done
    fail "$2: the window is ${WIDTH}x$HEIGHT, not $1 ($(xprop -id "$DEMO_WINDOW" _NET_WM_STATE 2>&1))"
}
start_preview --from 200 --paused
size_until 800x600 "a window"
state >/dev/null # the preview reads its keys: f is not pressed into a window still starting
press f
size_until 1280x1024 "full screen after f"
press f
size_until 800x600 "a window after f again"
expect_eq "$(field "$(state)" frame)" 12000 "the frame after f twice"
press q
wait_demo 30
expect_eq "$DEMO_STATUS" 0 "status after q"
start_preview --from 200 --paused --fullscreen
size_until 1280x1024 "--fullscreen"
expect_eq "$(field "$(state)" frame)" 12000 "the frame at --from 200 --fullscreen"
press q
wait_demo 30
expect_eq "$DEMO_STATUS" 0 "status after q in full screen"
stop_pid "$WM_PID"

# A larger window: the same frame the capture draws at that size, bars and all, and the
# window's size line kept off the state lines.
bad "--size needs WIDTHxHEIGHT in pixels" --size 1280x
mkdir -p "$WORK/sized"
start_preview --from 200 --paused --size 1280x720 --shots "$WORK/sized"
line=$(state)
expect_eq "$(field "$line" frame)" 12000 "the frame at --from 200 --size 1280x720"
sized=$(shot)
press q
wait_demo 30
expect_eq "$DEMO_STATUS" 0 "status after q at 1280x720"
(cd "$build/data" && capture --at 200 --size 1280x720 --frames "$WORK/capture-sized") || exit 1
cmp -s "$sized" "$WORK/capture-sized/t-200.000.png" \
    || fail "at 1280x720 the preview's frame at 200 s differs from vorrel-capture --size 1280x720"

echo "preview: all checks passed"
