# The browser, with Debian's Emscripten offline on its own frozen cache. SDL 1.2 is Emscripten's
# own, and the web build has no Vorbis, modules or MIDI.
unset EM_CACHE
export NODE_PATH=/usr/share/nodejs
# The autotools of some sources predate Emscripten's name: the host is bare wasm32.
host=wasm32-unknown-none
cpu_family=wasm32
toolchain=cmake/emscripten-wasm.cmake
export CC=emcc CXX=em++ AR=emar RANLIB=emranlib
export CFLAGS="-O2" CXXFLAGS="-O2"
runtime_ldflags=""
# A page has no libraries to replace: everything is linked in. Plain C, no assembler.
shared=no
declare -A provided=()
provided_dir=""
toolchain_packages=(emscripten)
