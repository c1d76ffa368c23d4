#!/usr/bin/env bash
# Memcheck over a capture of the first second of every slot: no invalid read or write and no
# use of uninitialised values. (Valgrind does not run the sanitizer build: skipped there.)
set -u
build=$1
source=$2
source "$(dirname "$0")/lib.bash"
grep -q "VQ_SANITIZE:BOOL=ON" "$build/CMakeCache.txt" &&
    skip "valgrind: Valgrind does not run the sanitizer build"
WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'
cd "$build/data" || fail "no data folder"

valgrind --error-exitcode=9 --suppressions="$source/tests/valgrind.supp" \
    --log-file="$WORK/valgrind.log" \
    "$build/vorrel-capture" --fps 10 --frames "$WORK/frames" \
    --at 0.9,26.9,90.9,122.9,170.9,194.9,226.9,249.9 >/dev/null 2>"$WORK/err.txt"
status=$?
grep -E "ERROR SUMMARY|definitely lost" "$WORK/valgrind.log"
if [ "$status" -ne 0 ]; then
    grep -A20 -E "Invalid|uninitialised|Conditional jump" "$WORK/valgrind.log" | head -n 80
    fail "memcheck status $status"
fi
expect_eq "$(ls "$WORK/frames" | wc -l)" 8 "frames written under valgrind"
echo "valgrind: all checks passed"
