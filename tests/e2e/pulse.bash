# A private PulseAudio server for one script: user mode (root too), its own runtime folder and
# socket, anonymous clients, one null sink "vq" whose monitor can be recorded. It exits by
# itself once idle, and stop_pulse stops it by its process id. Source lib.bash first (for fail).

# Starts the server in a fresh folder and points this script's clients at it; sets PULSE_PID,
# PULSE_DIR and PULSE_LOG.
start_pulse() {
    PULSE_DIR=$(mktemp -d "${TMPDIR:-/tmp}/vq-pulse.XXXXXX")
    PULSE_LOG="$PULSE_DIR/pulse.log"
    # -n: none of the default modules (no device probing, no stream volumes restored).
    HOME="$PULSE_DIR" XDG_RUNTIME_DIR="$PULSE_DIR" XDG_CONFIG_HOME="$PULSE_DIR/config" \
        XDG_STATE_HOME="$PULSE_DIR/state" pulseaudio -n --daemonize=no --system=no \
        --use-pid-file=no --exit-idle-time=30 --realtime=yes --high-priority=yes \
        --log-target="file:$PULSE_LOG" --log-time=yes --log-level="${PULSE_LOG_LEVEL:-info}" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$PULSE_DIR/native" \
        -L "module-null-sink sink_name=vq rate=44100 format=s16le channels=2" \
        >"$PULSE_DIR/stdout.txt" 2>&1 &
    PULSE_PID=$!
    export PULSE_SERVER="unix:$PULSE_DIR/native"
    printf 'autospawn = no\n' >"$PULSE_DIR/client.conf"
    export PULSE_CLIENTCONFIG="$PULSE_DIR/client.conf"
    for _ in $(seq 1 100); do
        pactl info >/dev/null 2>&1 && return 0
        kill -0 "$PULSE_PID" 2>/dev/null || break
        sleep 0.1
    done
    cat "$PULSE_DIR/stdout.txt" "$PULSE_LOG" 2>/dev/null | tail -n 20
    fail "the sound server did not start"
}

# Stops the server this script started, and only that one.
stop_pulse() {
    if [ -n "${PULSE_PID:-}" ]; then
        kill "$PULSE_PID" 2>/dev/null
        wait "$PULSE_PID" 2>/dev/null
        PULSE_PID=
    fi
    [ -n "${PULSE_DIR:-}" ] && rm -rf "$PULSE_DIR"
    return 0
}
