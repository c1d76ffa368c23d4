#!/usr/bin/env bash
# Runs a sanitized test program once more when its checks all passed and only LeakSanitizer's
# tracer crashed at exit ("Tracer caught signal"): that crash comes from the sanitizer's runtime
# stopping the process's threads, with some memory layouts, not from the program. Any other
# failure, or a second crash, stands.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$@" >"$out" 2>&1
status=$?
cat "$out"
if [ $status -ne 0 ] && grep -q "Tracer caught signal" "$out" && grep -q "^\[  PASSED  \]" "$out" \
    && ! grep -q "^\[  FAILED  \]" "$out"; then
    echo "tracer-retry: LeakSanitizer's tracer crashed after every check passed; running once more"
    "$@"
    exit $?
fi
exit $status
