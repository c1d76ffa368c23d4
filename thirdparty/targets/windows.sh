# Windows x86_64, cross-built with Debian's MinGW-w64 (posix threads, for std::thread).
host=x86_64-w64-mingw32
cpu_family=x86_64
toolchain=cmake/mingw-w64-x86_64.cmake
export CC=$host-gcc-posix CXX=$host-g++-posix AR=$host-ar RANLIB=$host-ranlib
export RC=$host-windres WINDRES=$host-windres STRIP=$host-strip
export CFLAGS="-O2" CXXFLAGS="-O2"
# DLLs of ours carry no compiler runtime DLL with them.
runtime_ldflags="-static-libgcc -static-libstdc++"
# libtool would turn paths into Windows ones through Wine (and make a Wine prefix in $HOME for
# it); the toolchain takes them as they are.
export lt_cv_to_host_file_cmd=func_convert_file_noop lt_cv_to_tool_file_cmd=func_convert_file_noop
# The LGPL libraries stay DLLs that a viewer can replace; the BSD-style ones are linked in.
shared=yes
# What the toolchain brings itself: the library, the Debian package that holds it.
declare -A provided=([zlib]=libz-mingw-w64-dev)
provided_dir=/usr/$host
# The Debian packages whose code is linked into every program (the compiler's runtime, the
# C library's import libraries), for the bill of materials.
toolchain_packages=(gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
    libz-mingw-w64-dev)
