#!/usr/bin/env bash
# Builds the BMP reader's fuzz target with clang and runs it for the given seconds (default 60)
# on a seed corpus of small BMP files; exits non-zero when the fuzzer finds a crash.
# Usage: run-bmp-fuzz.sh [seconds] [extra libFuzzer options...]
set -euo pipefail
seconds=${1:-60}
shift || true
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/bmp-fuzz.XXXXXX")

flags=(-std=c++17 -g -O1 -I"$root/src" -I"$root/tests")
clang++ "${flags[@]}" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    "$root/src/image/BMPImg.cpp" "$here/BMPImgFuzz.cpp" -o "$work/bmpimg-fuzz"
clang++ "${flags[@]}" "$here/BMPSeedWriter.cpp" -o "$work/seed-writer"

mkdir "$work/corpus" "$work/seeds"
"$work/seed-writer" "$work/seeds"

# Leaks count as findings too; crash inputs land in the work folder, which is then kept.
status=0
ASAN_OPTIONS=detect_leaks=1 "$work/bmpimg-fuzz" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/" "$@" \
    "$work/corpus" "$work/seeds" 2>"$work/fuzz.log" || status=$?
grep -E "^(Done|stat::number_of_executed_units|stat::new_units_added)|^#[0-9]+.*DONE" \
    "$work/fuzz.log" || true
if [ "$status" -ne 0 ]; then
    tail -n 60 "$work/fuzz.log"
    echo "FAIL: the fuzzer stopped with status $status; inputs and log kept in $work"
    exit 1
fi
echo "no crash, leak or sanitizer report in $seconds s"
rm -rf "$work"
