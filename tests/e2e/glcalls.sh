#!/usr/bin/env bash
# The web build's OpenGL layer declares exactly the GL and GLU calls the demo makes: every gl*,
# glu* and GL_* name in src/ is in the layer's headers, and every call they declare is made; its
# constants have Mesa's values.
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
# Every constant the layer defines has the value Mesa's headers give it (gl.h, glext.h for the
# names past OpenGL 1.1, glu.h for GLU's): a wrong value still builds, and the layer then reads
# one name as another.
declare -A mesa
while read -r name value; do
    mesa[$name]=$value
done < <(awk '$1 == "#define" && $2 ~ /^GLU?_/ && !($2 in seen) { seen[$2]; print $2, $3 }' \
    /usr/include/GL/gl.h /usr/include/GL/glext.h /usr/include/GL/glu.h)
defined=$(sed -n 's/^#define \(GLU\{0,1\}_[A-Z0-9_]*\) *\(.*\)$/\1 \2/p' "${headers[@]}")
[ "$(echo "$defined" | wc -l)" -gt 30 ] || fail "the layer's headers define too few constants"
while read -r name value; do
    [[ "$value" =~ ^(0x[0-9A-Fa-f]+|[0-9]+)$ ]] || fail "the web layer's $name is $value, no number"
    mesa_value=${mesa[$name]:-}
    [ -n "$mesa_value" ] || fail "the web layer defines $name, which Mesa's headers do not"
    [ $((value)) -eq $((mesa_value)) ] || fail "the web layer's $name is $value, Mesa's $mesa_value"
done <<<"$defined"
echo "PASS: $(echo "$used" | wc -l) names in use, $(echo "$declared" | wc -l) calls declared," \
    "$(echo "$defined" | wc -l) constants as Mesa's"
