# Linux x86_64, the portable release: built inside a Debian 11 system (scripts/portable), so
# that what it links asks for no glibc newer than 2.31, with that system's own gcc.
host=x86_64-linux-gnu
cpu_family=x86_64
toolchain=cmake/linux-portable.cmake
export CC=gcc CXX=g++ AR=ar RANLIB=ranlib STRIP=strip
# The static libraries end up inside shared ones (libpng and libjpeg in FreeImage).
export CFLAGS="-O2 -fPIC" CXXFLAGS="-O2 -fPIC"
# Ours carry the compiler's runtime inside: no libstdc++ or libgcc_s of the system's.
runtime_ldflags="-static-libgcc -static-libstdc++"
# The system's own .pc files (X11, Wayland, xkbcommon, ALSA, PulseAudio: SDL2's back-ends, GL
# for GLU) after the libraries built here.
export PKG_CONFIG_PATH=/usr/lib/x86_64-linux-gnu/pkgconfig:/usr/share/pkgconfig
# The LGPL libraries stay shared, replaceable in the release's lib/; the others are linked in.
shared=yes
declare -A provided=()
provided_dir=""
# The Debian packages whose code is linked into every program: the compiler's runtime and the
# C library's startup files.
toolchain_packages=(gcc-10 g++-10 libgcc-10-dev libstdc++-10-dev libc6-dev)
