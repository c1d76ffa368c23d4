#!/usr/bin/env bash
# Builds one loader of the sound layer as a fuzz target with clang (ASan + UBSan) and runs it
# for the given seconds on the tests' own sound files; exits non-zero on any finding.
# Usage: run-sound-fuzz.sh wav|mp3|ogg|midi|module [seconds] [extra libFuzzer options...]
set -euo pipefail
loader=${1:?usage: run-sound-fuzz.sh wav|mp3|ogg|midi|module [seconds] [options...]}
seconds=${2:-60}
shift $(($# < 2 ? $# : 2))
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
src=$root/src/platform/sound
case "$loader" in
wav) id=1 sources=("$src/WavDecoder.cpp") pkgs=() ;;
mp3) id=2 sources=("$src/Mp3Decoder.cpp") pkgs=(libmpg123) ;;
ogg) id=3 sources=("$src/VorbisDecoder.cpp") pkgs=(vorbisfile) ;;
midi) id=4 sources=("$src/MidiRenderer.cpp") pkgs=(fluidsynth) ;;
module) id=5 sources=("$src/ModuleRenderer.cpp") pkgs=(libopenmpt) ;;
*)
    echo "unknown loader: $loader" >&2
    exit 2
    ;;
esac
work=$(mktemp -d "${TMPDIR:-/tmp}/sound-fuzz-$loader.XXXXXX")

flags=(-std=c++17 -g -O1 -I"$root/src" -I"$root/tests")
libs=()
if [ ${#pkgs[@]} -gt 0 ]; then
    read -r -a libs <<<"$(pkg-config --cflags --libs "${pkgs[@]}")"
fi
clang++ "${flags[@]}" -DVQ_FUZZ_LOADER=$id -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=undefined "${sources[@]}" "$src/SoundFile.cpp" "$src/Track.cpp" \
    "$here/SoundFuzz.cpp" "${libs[@]}" -o "$work/fuzz"
read -r -a enc <<<"$(pkg-config --cflags --libs vorbisenc vorbis ogg)"
clang++ "${flags[@]}" "$here/SoundSeedWriter.cpp" "$root/tests/support/SoundFiles.cpp" \
    "${enc[@]}" -lmp3lame -o "$work/seed-writer"

mkdir "$work/corpus" "$work/seeds"
"$work/seed-writer" "$work/seeds"

# A song renders for seconds at most; the whole-song limit of the renderers is what bounds it.
status=0
ASAN_OPTIONS=detect_leaks=1 "$work/fuzz" -max_total_time="$seconds" -timeout=60 \
    -rss_limit_mb=3072 -max_len=65536 -print_final_stats=1 -artifact_prefix="$work/" "$@" \
    "$work/corpus" "$work/seeds/$loader" 2>"$work/fuzz.log" || status=$?
grep -E "^(Done|stat::number_of_executed_units|stat::new_units_added)|^#[0-9]+.*DONE" \
    "$work/fuzz.log" || true
if [ "$status" -ne 0 ]; then
    tail -n 60 "$work/fuzz.log"
    echo "FAIL: the $loader fuzzer stopped with status $status; inputs and log kept in $work"
    exit 1
fi
echo "$loader: no crash, leak or sanitizer report (within $seconds s)"
rm -rf "$work"
