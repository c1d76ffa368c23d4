#!/usr/bin/env bash
# The long fuzz runs, outside the suite: each target until 10 million runs or 30 minutes,
# one after another (one fuzzer process at a time), under ASan + UBSan.
# Usage: bench/fuzz-deep.sh [target...]   targets: bmp wav mp3 ogg midi module (default: all)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(bmp wav mp3 ogg module midi)
failed=0
for target in "${targets[@]}"; do
    echo "== $target ($(date -u +%H:%M:%S))"
    if [ "$target" = bmp ]; then
        bash "$root/tests/fuzz/run-bmp-fuzz.sh" 1800 -runs=10000000 || failed=1
    else
        bash "$root/tests/fuzz/run-sound-fuzz.sh" "$target" 1800 -runs=10000000 || failed=1
    fi
done
exit $failed
