# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (posix threads, for std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VQ_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VQ_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VQ_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${VQ_MINGW_HOST}-windres)
set(CMAKE_AR ${VQ_MINGW_HOST}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${VQ_MINGW_HOST}-ranlib CACHE FILEPATH "")

# The libraries built by scripts/thirdparty, beside the toolchain's own (zlib).
if(NOT VQ_THIRDPARTY_PREFIX)
    if(DEFINED ENV{VQ_LIB_CACHE})
        set(VQ_THIRDPARTY_PREFIX "$ENV{VQ_LIB_CACHE}/windows/prefix")
    else()
        set(VQ_THIRDPARTY_PREFIX "$ENV{HOME}/.cache/vorrel-quisp/windows/prefix")
    endif()
endif()
set(VQ_THIRDPARTY_PREFIX "${VQ_THIRDPARTY_PREFIX}" CACHE PATH "Libraries built for Windows")
set(CMAKE_FIND_ROOT_PATH /usr/${VQ_MINGW_HOST} ${VQ_THIRDPARTY_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No compiler runtime DLL to ship: libgcc, libstdc++ and winpthread go into each program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -Wl,-Bstatic,--whole-archive -lwinpthread -Wl,--no-whole-archive,-Bdynamic")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -Wl,-Bstatic,--whole-archive -lwinpthread -Wl,--no-whole-archive,-Bdynamic")
