# The libraries of the portable Linux release, built by scripts/thirdparty linux into
# VQ_THIRDPARTY_PREFIX, under the target names the Linux build gets from pkg-config
# (PrefixLibraries.cmake). The portable preset leaves MIDI and ALSA's messages out, as on
# Windows: SDL2 opens ALSA itself, and nothing of ours links it.
if(NOT EXISTS ${VQ_THIRDPARTY_PREFIX}/include/SDL/SDL.h)
    message(FATAL_ERROR "No libraries for portable Linux in ${VQ_THIRDPARTY_PREFIX}: "
                        "run scripts/portable")
endif()

# No path of the build machine in the programs: scripts/portable gives them $ORIGIN, where their
# libraries are in the release, and the same files give the same bytes wherever the cache is.
set(CMAKE_SKIP_BUILD_RPATH ON)

find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(Threads REQUIRED)

include(${CMAKE_CURRENT_LIST_DIR}/PrefixLibraries.cmake)

# sdl12-compat's libSDL-1.2.so.0, which opens libSDL2-2.0.so.0 itself.
vq_prefix_library(SDL INCLUDES SDL LIBS SDL DEFINES _GNU_SOURCE=1 _REENTRANT)
vq_prefix_library(MPG123 LIBS mpg123)
vq_prefix_library(KISSFFT INCLUDES kissfft LIBS kissfft-float DEFINES kiss_fft_scalar=float)
if(VQ_WITH_MODULES)
    vq_prefix_library(OPENMPT LIBS openmpt)
endif()
if(VQ_WITH_VORBIS)
    vq_prefix_library(VORBISFILE LIBS vorbisfile vorbis ogg)
endif()
vq_prefix_library(GLU LIBS libGLU.a)
target_link_libraries(PkgConfig::GLU INTERFACE OpenGL::GL)

# FreeImage's CMake file names its library FreeImage.so, its own soname.
unset(FREEIMAGE_LIBRARY CACHE)
find_library(FREEIMAGE_LIBRARY NAMES FreeImage.so REQUIRED NO_CACHE NO_DEFAULT_PATH
             PATHS ${VQ_THIRDPARTY_PREFIX}/lib)
set(FREEIMAGE_INCLUDE_DIR ${VQ_THIRDPARTY_PREFIX}/include)
