# The portable Linux release (scripts/portable): a native x86_64 build, run inside a Debian 11
# system, against the libraries of scripts/thirdparty linux. Only the C library, OpenGL, and
# what SDL2 opens itself (X11, Wayland, ALSA, PulseAudio) come from the system it runs on.
set(VQ_PORTABLE ON)

if(NOT VQ_THIRDPARTY_PREFIX)
    if(DEFINED ENV{VQ_LIB_CACHE})
        set(VQ_THIRDPARTY_PREFIX "$ENV{VQ_LIB_CACHE}/linux/prefix")
    else()
        set(VQ_THIRDPARTY_PREFIX "$ENV{HOME}/.cache/vorrel-quisp/linux/prefix")
    endif()
endif()
set(VQ_THIRDPARTY_PREFIX "${VQ_THIRDPARTY_PREFIX}" CACHE PATH "Libraries built for portable Linux")

# libGL.so.1, which every driver's package provides, rather than GLVND's libOpenGL.so.0, which
# a system may lack.
set(OpenGL_GL_PREFERENCE LEGACY)

# The compiler's runtime goes into each program and library: the system's libstdc++ may be
# older than the compiler's.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
