#!/usr/bin/env bash
# The web build's OpenGL layer against Mesa: every scene of tests/e2e/webgl drawn in headless
# Chromium (WebGL through SwiftShader) and on the desktop, compared pixel by pixel within the
# bounds vq_layer_reference states; the errors glGetError reads must be the same too.
set -u
build=$1
source=$2
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/web.bash"
WORK=$(mktemp -d)
at_exit 'rm -rf "$WORK"'

"$source/scripts/web" --out "$WORK/site" --layer >"$WORK/build.log" 2>&1 ||
    fail "the layer page does not build: $(tail -20 "$WORK/build.log")"

start_page_server "$WORK/site"
port=$PORT

# Virtual time runs the page until it is idle: the scenes draw in its first task.
timeout 180 chromium --headless --no-sandbox --use-angle=swiftshader --enable-unsafe-swiftshader \
    --no-first-run --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$WORK/profile" --virtual-time-budget=20000 \
    --dump-dom "http://127.0.0.1:$port/layer/index.html" >"$WORK/page.html" 2>"$WORK/chromium.log"
title=$(sed -n 's:.*<title>\(.*\)</title>.*:\1:p' "$WORK/page.html")
expect_eq "$title" "layer done" "the page's title (chromium: $(grep -v dbus "$WORK/chromium.log" | tail -5))"

# The frames of both sides stay beside the build for a look when a scene is out of bounds.
images="$build/tests/weblayer-images"
rm -rf "$images"
mkdir -p "$images"
"$build/tests/vq_layer_reference" "$WORK/page.html" --images "$images" ||
    fail "the page differs from the desktop beyond the bounds above (frames in $images)"
echo "PASS"
