#!/usr/bin/env bash
# The BMP reader under libFuzzer for 60 seconds; any crash, leak or sanitizer report fails.
set -u
source=$2
bash "$source/tests/fuzz/run-bmp-fuzz.sh" 60
