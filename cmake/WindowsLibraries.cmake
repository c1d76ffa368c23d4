# The libraries for Windows, built by scripts/thirdparty into VQ_THIRDPARTY_PREFIX, under the
# target names the Linux build gets from pkg-config (PrefixLibraries.cmake). The windows preset
# leaves MIDI (no synthesizer here) and ALSA (none on Windows) out.
if(NOT EXISTS ${VQ_THIRDPARTY_PREFIX}/include/SDL/SDL.h)
    message(FATAL_ERROR "No libraries for Windows in ${VQ_THIRDPARTY_PREFIX}: "
                        "run scripts/thirdparty windows first")
endif()

find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(Threads REQUIRED)

include(${CMAKE_CURRENT_LIST_DIR}/PrefixLibraries.cmake)

# The SDL 1.2 interface of sdl12-compat (SDL.dll, which loads SDL2.dll itself), as SDL's own
# pkg-config file states it (its -Dmain=SDL_main aside: see vq_sdl_main).
vq_prefix_library(SDL INCLUDES SDL LIBS SDL.dll DEFINES _GNU_SOURCE=1)
vq_prefix_library(MPG123 LIBS mpg123.dll)
vq_prefix_library(KISSFFT INCLUDES kissfft LIBS kissfft-float DEFINES kiss_fft_scalar=float)
if(VQ_WITH_MODULES)
    vq_prefix_library(OPENMPT LIBS openmpt)
endif()
if(VQ_WITH_VORBIS)
    vq_prefix_library(VORBISFILE LIBS vorbisfile vorbis ogg)
endif()
add_library(PkgConfig::GLU INTERFACE IMPORTED GLOBAL)
set_target_properties(PkgConfig::GLU PROPERTIES INTERFACE_LINK_LIBRARIES glu32)

# SDL's WinMain, which calls the program's main: for the programs alone, not the test runners.
add_library(vq_sdl_main INTERFACE)
unset(VQ_LIB_SDLmain CACHE)
find_library(VQ_LIB_SDLmain NAMES SDLmain REQUIRED NO_CACHE NO_DEFAULT_PATH
             PATHS ${VQ_THIRDPARTY_PREFIX}/lib)
target_link_libraries(vq_sdl_main INTERFACE mingw32 ${VQ_LIB_SDLmain} PkgConfig::SDL)

unset(FREEIMAGE_LIBRARY CACHE)
find_library(FREEIMAGE_LIBRARY NAMES FreeImage.dll REQUIRED NO_CACHE NO_DEFAULT_PATH
             PATHS ${VQ_THIRDPARTY_PREFIX}/lib)
# FreeImage.h declares Windows' own types itself unless windows.h came first, and then clashes
# with the OpenGL headers, which include windows.h: a header of the same name puts it first.
set(FREEIMAGE_INCLUDE_DIR ${CMAKE_BINARY_DIR}/generated/freeimage)
file(CONFIGURE OUTPUT ${FREEIMAGE_INCLUDE_DIR}/FreeImage.h CONTENT
"// FreeImage after windows.h, as FreeImage on Windows needs (made by the build).
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include \"${VQ_THIRDPARTY_PREFIX}/include/FreeImage.h\"
")
