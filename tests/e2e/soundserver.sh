#!/usr/bin/env bash
# The real demo heard through a real sound server: a private PulseAudio with a null sink, the
# sink's monitor recorded with parec and held against the track as our sound layer decodes it.
# The track's first seconds must all be there, starting with its first sample, every 10 ms
# block exact and at one offset to the end (no gap, no drift, no dropped or repeated buffer),
# with no underrun reported by the server. Two runs, neither tried again nor raised in
# priority: a quiet one of 30 s, and one of 40 s beside two processes that keep the processors
# busy, each in a session of its own as other programs on a desktop are.
# For the benchmarks, runs that report and never fail: "capture" (one run of 30 s beside the
# capture tool rendering a video), or "repeat N LOAD" (N runs of 40 s beside none or busy).
set -u
build=$(cd "$1" && pwd)
mode=${3:-}
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/pulse.bash"
DEMO="$build/vorrel-quisp"
CHECK="$build/tests/vq_recording_check"
WORK=$(mktemp -d)
# Whatever this script started ends with it, each by its own process id.
PIDS=()
trap 'for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done; stop_pulse; rm -rf "$WORK"' EXIT
cp -r "$build/data/textures" "$WORK/"
cp "$build/data/mixdown.mp3" "$WORK/" || fail "no data/mixdown.mp3"
cd "$WORK" || exit 1
read -r rate channels < <("$CHECK" mixdown.mp3) || fail "the track does not load"
export PULSE_LOG_LEVEL=debug # the server reports underruns at this level only

# One run: the server, the recorder, the demo for span seconds and more beside the given load
# (none, busy or capture), the comparison. Sets UNDERRUNS (while the demo played) and CHECKED
# (the comparison's status).
attempt() { # span load
    local span=$1 load=$2
    start_pulse
    parec --raw --format=s16le --rate="$rate" --channels="$channels" --device=vq.monitor \
        >recording.raw 2>parec.txt &
    local parec_pid=$!
    local load_pids=()
    if [ "$load" = capture ]; then
        "$build/vorrel-capture" --to $((span + 30)) --video "$WORK/load.mp4" >load.txt 2>&1 &
        load_pids+=($!)
    elif [ "$load" = busy ]; then
        # setsid: a process in the demo's own session shares its scheduling group and would
        # take its time from the demo alone.
        for _ in 1 2; do
            setsid bash -c 'while :; do :; done' &
            load_pids+=($!)
        done
    fi
    SDL_AUDIODRIVER=pulseaudio "$DEMO" >out.txt 2>err.txt &
    local demo_pid=$!
    PIDS=("$parec_pid" "$demo_pid" "${load_pids[@]}")
    # The first frame comes after the wait for audible sound: the track is playing by then.
    wait_first_frame "$demo_pid" out.txt || fail "no first frame within a minute: $(cat err.txt)"
    sleep $((span + 2))
    # Underruns after this are the stream's end, not a gap in what was heard.
    UNDERRUNS=$(grep -c "Implicit underrun" "$PULSE_LOG")
    kill -TERM "$demo_pid" # SDL turns it into a quit event
    wait "$demo_pid"
    local status=$?
    kill "$parec_pid"
    wait "$parec_pid" 2>/dev/null
    local p
    for p in "${load_pids[@]}"; do
        kill "$p" 2>/dev/null
        wait "$p" 2>/dev/null
    done
    PIDS=()
    cp "$PULSE_LOG" pulse.log
    stop_pulse
    expect_eq "$status" 0 "the demo's status when told to quit"
    expect_eq "$(cat err.txt)" "" "the demo's standard error (it must have found the server)"
    "$CHECK" mixdown.mp3 recording.raw "$span" pulse.log >check.txt
    CHECKED=$?
    echo "soundserver ($load, $span s): $(paste -sd';' check.txt); $UNDERRUNS underruns" \
        "reported by the server"
}

if [ "$mode" = capture ]; then
    attempt 30 capture
    exit
elif [ "$mode" = repeat ]; then
    for _ in $(seq 1 "$4"); do
        attempt 40 "$5"
    done
    exit
fi
for run in "30 none" "40 busy"; do
    attempt $run
    [ "$CHECKED" -eq 0 ] || fail "the recording does not match the track: $(tail -n 1 check.txt)"
    expect_eq "$UNDERRUNS" 0 "underruns reported by the server"
done
echo "soundserver: all checks passed"
