#!/usr/bin/env bash
# The web build's OpenGL layer declares exactly the GL and GLU calls the demo makes: every gl*,
# glu* and GL_* name in src/ is in the layer's headers, and every call they declare is made.
set -u
source=$2
source "$(dirname "$0")/lib.bash"
headers=("$source/src/webgl/include/GL/gl.h" "$source/src/webgl/include/GL/glu.h")

# The sources without their line comments: a name a comment mentions is not a call.
code=$(find "$source/src" -path '*/webgl' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 sed 's://.*$::')
used=$(echo "$code" | grep -oE '\b(gl[A-Z][A-Za-z0-9]*|glu[A-Z][A-Za-z0-9]*|GL_[A-Z0-9_]+)\b' |
    sort -u)
[ -n "$used" ] || fail "no OpenGL names found in $source/src"
for name in $used; do
    grep -qE "(\b| )$name\b" "${headers[@]}" || fail "src/ uses $name, which the web layer lacks"
done

declared=$(grep -hoE '^[A-Za-z]+ (gl|glu)[A-Z][A-Za-z0-9]*\(' "${headers[@]}" |
    sed -E 's/.* ([A-Za-z0-9]+)\($/\1/' | sort -u)
[ "$(echo "$declared" | wc -l)" -gt 30 ] || fail "the layer's headers declare too few calls"
for name in $declared; do
    echo "$code" | grep -qE "\b$name\(" ||
        fail "the web layer declares $name, which src/ never calls"
done
echo "PASS: $(echo "$used" | wc -l) names in use, $(echo "$declared" | wc -l) calls declared"
