#!/usr/bin/env bash
# The real demo on a machine without a sound card: its standard error holds its one "Sound is
# off" line and nothing else, whether SDL picks the driver itself or is told to use ALSA, over
# the start-up and some seconds of the timeline (SDL keeps probing ALSA's devices meanwhile).
set -u
build=$1
source "$(dirname "$0")/lib.bash"
DEMO="$build/vorrel-quisp"
WORK=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$WORK"' EXIT
cp -r "$build/data/textures" "$WORK/"
[ -f "$build/data/mixdown.mp3" ] && cp "$build/data/mixdown.mp3" "$WORK/"
cd "$WORK" || exit 1

# Where a card exists, an ALSA configuration without devices stands in for a machine without.
if [ -e /proc/asound/cards ] && ! grep -q "no soundcards" /proc/asound/cards; then
    : >asound.conf
    export ALSA_CONFIG_PATH="$WORK/asound.conf"
fi
# No sound server may be found elsewhere, nor started for us.
export PULSE_SERVER="unix:$WORK/no-server"

for driver in "" alsa; do
    what="SDL_AUDIODRIVER=${driver:-(unset)}"
    if [ -n "$driver" ]; then
        SDL_AUDIODRIVER=$driver "$DEMO" >out.txt 2>err.txt &
    else
        env -u SDL_AUDIODRIVER "$DEMO" >out.txt 2>err.txt &
    fi
    pid=$!
    wait_first_frame "$pid" out.txt || fail "$what: no first frame: $(cat err.txt)"
    sleep 6 # SDL's ALSA hotplug thread probes the devices every few seconds
    kill -TERM "$pid"
    wait "$pid"
    status=$?
    pid=
    expect_eq "$status" 0 "$what: status when told to quit"
    expect_eq "$(wc -l <err.txt)" 1 "$what: lines on standard error ($(cat err.txt))"
    grep -q "^Sound is off: no audio device could be opened" err.txt ||
        fail "$what: the line on standard error: $(cat err.txt)"
done
echo "nodevice: all checks passed"
