#!/usr/bin/env bash
# Time from a fresh clone to the demo's first frame, the way a new user gets there: clone, then
# scripts/demo (set-up, configure, build, data, run). Each git ref given (by default main and
# the branch checked out here) is cloned afresh into a temporary folder; the packages are
# installed once beforehand and not counted. Measure on an otherwise quiet machine.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
refs=("$@")
[ ${#refs[@]} -gt 0 ] || refs=(main "$(git -C "$root" rev-parse --abbrev-ref HEAD)")
"$root/scripts/setup"
set -a
VQ_SOURCE_DIR="$root"
source "$root/scripts/headless.env"
set +a
# The first frame is the demo's first scene starting: it prints this line.
FIRST_FRAME="local_timer : 0"

echo "== machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
for ref in "${refs[@]}"; do
    work=$(mktemp -d)
    git clone -q --branch "$ref" "$root" "$work/repo" || { echo "$ref: cannot clone"; exit 1; }
    begin=$(date +%s.%N)
    (cd "$work/repo" && exec scripts/demo >"$work/out.txt" 2>"$work/err.txt") &
    pid=$! # scripts/demo execs the demo: the same process id to the end
    while ! grep -q "$FIRST_FRAME" "$work/out.txt" 2>/dev/null && kill -0 "$pid" 2>/dev/null; do
        sleep 0.05
    done
    end=$(date +%s.%N)
    if grep -q "$FIRST_FRAME" "$work/out.txt"; then
        kill -TERM "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        targets=$(grep -c '^\[[0-9]*/[0-9]*\]' "$work/out.txt")
        awk -v a="$begin" -v b="$end" -v r="$ref" -v n="$targets" \
            'BEGIN { printf "%s: %.1f s from a fresh clone to the first frame (%d build steps)\n", r, b - a, n }'
    else
        echo "$ref: no first frame; the end of its output:"
        tail -n 20 "$work/out.txt" "$work/err.txt"
    fi
    rm -rf "$work"
done
