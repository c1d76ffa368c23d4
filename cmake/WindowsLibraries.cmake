# The libraries for Windows, built by scripts/thirdparty into VQ_THIRDPARTY_PREFIX, under the
# target names the Linux build gets from pkg-config, so that the folders' CMake files link them
# the same way on both. MIDI has no synthesizer here and ALSA does not exist: both are empty.
if(NOT EXISTS ${VQ_THIRDPARTY_PREFIX}/include/SDL/SDL.h)
    message(FATAL_ERROR "No libraries for Windows in ${VQ_THIRDPARTY_PREFIX}: "
                        "run scripts/thirdparty windows first")
endif()

find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(Threads REQUIRED)

# name: the target; then the header folders (under include/) and the libraries to link.
function(vq_windows_library name)
    cmake_parse_arguments(ARG "" "" "INCLUDES;LIBS;DEFINES" ${ARGN})
    add_library(PkgConfig::${name} INTERFACE IMPORTED GLOBAL)
    set(dirs ${VQ_THIRDPARTY_PREFIX}/include)
    foreach(sub ${ARG_INCLUDES})
        list(APPEND dirs ${VQ_THIRDPARTY_PREFIX}/include/${sub})
    endforeach()
    set(libs "")
    foreach(lib ${ARG_LIBS})
        find_library(VQ_LIB_${lib} NAMES ${lib} REQUIRED NO_DEFAULT_PATH
                     PATHS ${VQ_THIRDPARTY_PREFIX}/lib)
        list(APPEND libs ${VQ_LIB_${lib}})
    endforeach()
    set_target_properties(PkgConfig::${name} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${dirs}"
        INTERFACE_LINK_LIBRARIES "${libs}" INTERFACE_COMPILE_DEFINITIONS "${ARG_DEFINES}")
endfunction()

# As SDL's own pkg-config file states it (its -Dmain=SDL_main aside: see vq_sdl_main).
vq_windows_library(SDL INCLUDES SDL LIBS SDL.dll DEFINES _GNU_SOURCE=1)
vq_windows_library(MPG123 LIBS mpg123.dll)
vq_windows_library(KISSFFT INCLUDES kissfft LIBS kissfft-float DEFINES kiss_fft_scalar=float)
vq_windows_library(OPENMPT LIBS openmpt)
vq_windows_library(VORBISFILE LIBS vorbisfile vorbis ogg)
vq_windows_library(FLUIDSYNTH)
vq_windows_library(ALSA)
add_library(PkgConfig::GLU INTERFACE IMPORTED GLOBAL)
set_target_properties(PkgConfig::GLU PROPERTIES INTERFACE_LINK_LIBRARIES glu32)

# SDL's WinMain, which calls the program's main: for the programs alone, not the test runners.
add_library(vq_sdl_main INTERFACE)
find_library(VQ_LIB_SDLmain NAMES SDLmain REQUIRED NO_DEFAULT_PATH PATHS ${VQ_THIRDPARTY_PREFIX}/lib)
target_link_libraries(vq_sdl_main INTERFACE mingw32 ${VQ_LIB_SDLmain} PkgConfig::SDL)

find_library(FREEIMAGE_LIBRARY NAMES FreeImage.dll REQUIRED NO_DEFAULT_PATH
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
