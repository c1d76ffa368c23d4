# Shared helpers for the end-to-end scripts: checks, a private Xvfb display, the demo in a window.

# The demo never frees what lives until exit, so leak reports of whole runs mean nothing.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

fail() {
    echo "FAIL: $*"
    exit 1
}

expect_eq() { # actual expected what
    [ "$1" = "$2" ] || fail "$3: expected '$2', got '$1'"
}

expect_contains() { # file text what
    grep -qF -- "$2" "$1" || fail "$3: '$2' not in $(cat "$1")"
}

# Bad input to $CAPTURE: status 2, one error line holding the text, and nothing whose name
# begins with the given path (empty: nothing to look for). Needs WORK.
expect_refused() { # expected-text path args...
    local expected=$1 left=$2
    shift 2
    "$CAPTURE" "$@" >"$WORK/out.txt" 2>"$WORK/err.txt"
    expect_eq "$?" 2 "status for '$*'"
    expect_contains "$WORK/err.txt" "$expected" "message for '$*'"
    expect_eq "$(wc -l <"$WORK/err.txt")" 1 "one error line for '$*'"
    if [ -n "$left" ] && ls -d "$left"* >/dev/null 2>&1; then
        fail "'$*' left $(ls -d "$left"*)"
    fi
    return 0
}

# Starts Xvfb on a free display number and exports DISPLAY; stopped when the script exits.
start_xvfb() {
    local n
    for n in $(seq 90 140); do
        if [ ! -e "/tmp/.X${n}-lock" ]; then
            Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
            XVFB_PID=$!
            export DISPLAY=":$n"
            for _ in $(seq 1 50); do
                xdotool getmouselocation >/dev/null 2>&1 && break
                sleep 0.1
            done
            trap 'kill $XVFB_PID 2>/dev/null' EXIT
            return 0
        fi
    done
    fail "no free X display"
}

# Starts the demo in an X window with the given arguments; sets DEMO_PID and DEMO_WINDOW.
start_demo_window() {
    SDL_VIDEODRIVER=x11 "$DEMO" "$@" >"$WORK/out.txt" 2>"$WORK/err.txt" &
    DEMO_PID=$!
    DEMO_WINDOW=$(timeout 30 xdotool search --sync --name "^Vorrel Quisp$" | head -n 1)
    [ -n "$DEMO_WINDOW" ] || fail "the demo's window did not appear"
}

# Focuses the demo's window and presses one key.
press() {
    xdotool windowfocus --sync "$DEMO_WINDOW" >/dev/null 2>&1 || true
    xdotool key "$1"
}

# Waits for the demo to end within the given seconds; sets DEMO_STATUS.
wait_demo() {
    local limit=$1
    for _ in $(seq 1 $((limit * 10))); do
        kill -0 "$DEMO_PID" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$DEMO_PID" 2>/dev/null; then
        kill "$DEMO_PID"
        fail "the demo did not end within $limit s"
    fi
    wait "$DEMO_PID"
    DEMO_STATUS=$?
}

# Waits up to a minute for the demo's first frame (its first scene prints a line then); false if
# the demo ends or the minute passes first.
wait_first_frame() { # pid stdout-file
    for _ in $(seq 1 600); do
        grep -q "local_timer : 0" "$2" && return 0
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    grep -q "local_timer : 0" "$2"
}
