#!/usr/bin/env bash
# The BMP reader under libFuzzer for 60 seconds; any crash, leak or sanitizer report fails.
# The fuzz target is built apart from the presets, so it runs once: with the sanitizer build.
set -u
build=$1
source=$2
if ! grep -q "VQ_SANITIZE:BOOL=ON" "$build/CMakeCache.txt"; then
    echo "SKIP: bmp_fuzz: runs with the sanitizer build only"
    exit 77
fi
bash "$source/tests/fuzz/run-bmp-fuzz.sh" 60
