# Shared helpers for the end-to-end scripts: checks, a private Xvfb display, the demo in a window.

# The programs end through exit() with what they built still alive, so a leak report at the
# exit lists the libraries' and the tools' own objects: a script that wants a leak check turns
# it on for that run.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

fail() {
    echo "FAIL: $*"
    exit 1
}

# Ends the script as skipped (ctest's status 77), with the reason on a line scripts/test repeats.
skip() {
    echo "SKIP: $*"
    exit 77
}

# A release script's end (scripts/windows, portable, web). Status 3 with thirdparty's line: a
# library's source was to be had nowhere. Without a source folder (VQ_SOURCES) that skips the test,
# naming the file; with one, as in CI, it fails like any other status, with the script's last lines.
expect_made() { # status error-file what
    local missing
    missing=$(grep '^thirdparty: no source of ' "$2" | tail -n 1)
    if [ "$1" -eq 3 ] && [ -n "$missing" ] && [ -z "${VQ_SOURCES:-}" ]; then
        skip "${missing#thirdparty: }"
    fi
    [ "$1" -eq 0 ] || fail "$3: status $1: $(tail -n 20 "$2")"
}

expect_eq() { # actual expected what
    [ "$1" = "$2" ] || fail "$3: expected '$2', got '$1'"
}

expect_contains() { # file text what
    grep -qF -- "$2" "$1" || fail "$3: '$2' not in $(cat "$1")"
}

# The builds that check OpenGL (debug, sanitizers) print one line for each scene's frame that
# leaves an error and draw on: no run's error output is thrown away unread, and such a line fails.
expect_no_gl_error() { # stderr-file...
    local found
    found=$(grep -h -m 3 -F "OpenGL error after a frame of" "$@" 2>/dev/null)
    [ -z "$found" ] || fail "$found"
}

# Runs a command with its output discarded and its error output read as above; a failure ends the
# script with what was run, the status and the command's last lines.
quietly() { # what command...
    local what=$1 log status
    shift
    log=$(mktemp)
    "$@" >/dev/null 2>"$log"
    status=$?
    local last
    last=$(tail -n 5 "$log")
    expect_no_gl_error "$log"
    rm -f "$log"
    [ $status -eq 0 ] || fail "$what: status $status: $last"
}

# PSNR of two PNG frames in dB ("inf" when the pixels are the same), into PSNR; a comparison that
# fails ends the script with ffmpeg's last lines.
psnr() { # a.png b.png
    local out
    out=$(ffmpeg -v info -nostats -i "$1" -i "$2" -lavfi psnr -f null - 2>&1) ||
        fail "the PSNR of $1 against $2: $(tail -n 3 <<<"$out")"
    PSNR=$(sed -n 's/.*average:\([0-9.inf]*\).*/\1/p' <<<"$out")
    [ -n "$PSNR" ] || fail "no PSNR of $1 against $2: $(tail -n 3 <<<"$out")"
}

# A frame at 40 dB PSNR or more against its reference, or the same pixels; the figure said.
expect_psnr() { # frame reference what
    [ -f "$1" ] || fail "$3: no frame $1"
    psnr "$1" "$2"
    echo "$3: PSNR $PSNR dB"
    [ "$PSNR" = inf ] || awk "BEGIN { exit !($PSNR >= 40) }" || fail "$3: PSNR $PSNR dB, below 40"
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

# Commands run when the script exits, in the order they were added.
AT_EXIT=()
run_at_exit() {
    local c
    for c in "${AT_EXIT[@]}"; do
        eval "$c"
    done
}
trap run_at_exit EXIT
at_exit() { # command
    AT_EXIT+=("$1")
}

# Starts an Xvfb of this script's own and exports DISPLAY once the server answers; only that
# server is stopped when the script exits. The server itself picks a free display number
# (-displayfd), so scripts running side by side never share one. Optional: the screen's size.
start_xvfb() { # [WIDTHxHEIGHT]
    local numberFile
    numberFile=$(mktemp)
    # -noreset: by default the server resets itself when its last client leaves, and a client
    # that connects meanwhile (a loaded machine makes the reset slow) cannot open the display.
    Xvfb -displayfd 3 -screen 0 "${1:-1280x1024}x24" -nolisten tcp -noreset 3>"$numberFile" \
        >"$numberFile.log" 2>&1 &
    XVFB_PID=$!
    at_exit 'stop_demo'
    at_exit 'kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null'
    local number=""
    for _ in $(seq 1 300); do
        number=$(head -n 1 "$numberFile")
        [ -n "$number" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    [ -n "$number" ] || fail "Xvfb did not start: $(tail -n 5 "$numberFile.log")"
    rm -f "$numberFile" "$numberFile.log"
    export DISPLAY=":$number"
    for _ in $(seq 1 100); do
        xdotool getmouselocation >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "Xvfb on $DISPLAY does not answer"
}

# Starts the demo in an X window with the given arguments; sets DEMO_PID and DEMO_WINDOW.
start_demo_window() {
    SDL_VIDEODRIVER=x11 "$DEMO" "$@" >"$WORK/out.txt" 2>"$WORK/err.txt" &
    DEMO_PID=$!
    DEMO_WINDOW=""
    for _ in $(seq 1 300); do
        # A search fails outright when a window goes away while it looks (SDL makes
        # short-lived ones as it starts): look again.
        DEMO_WINDOW=$(xdotool search --name "^Vorrel Quisp$" 2>/dev/null | head -n 1)
        [ -n "$DEMO_WINDOW" ] && return 0
        kill -0 "$DEMO_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$DEMO_PID" 2>/dev/null && fail "the demo's window did not appear"
    wait "$DEMO_PID"
    fail "the demo ended with status $? before its window was seen: $(tail -n 5 "$WORK/err.txt")"
}

# Ends a process this script started. SDL turns SIGTERM into a quit event that only a running
# frame loop reads, so a program stuck elsewhere is killed outright after 10 s: a failed check
# must end the script, not hang it until the test's time limit.
stop_pid() { # pid
    [ -n "${1:-}" ] && kill -0 "$1" 2>/dev/null || return 0
    kill "$1" 2>/dev/null
    for _ in $(seq 1 100); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$1" 2>/dev/null
    wait "$1" 2>/dev/null
    return 0
}

# Ends a demo this script started that is still running (a failed check left it behind).
stop_demo() { stop_pid "${DEMO_PID:-}"; }

# Focuses the demo's window and presses one key.
press() {
    timeout 5 xdotool windowfocus --sync "$DEMO_WINDOW" >/dev/null 2>&1 || true
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
    expect_no_gl_error "$WORK/err.txt"
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
