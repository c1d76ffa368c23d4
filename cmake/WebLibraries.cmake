# The libraries of the browser build: OpenGL and GLU are our own layer over WebGL (src/webgl,
# the layer vq_webgl), SDL 1.2 is Emscripten's built-in one, and the rest come from
# scripts/thirdparty web in VQ_THIRDPARTY_PREFIX, under the target names the Linux build gets
# from pkg-config (PrefixLibraries.cmake). The web preset leaves Vorbis, modules, MIDI and ALSA
# out.
if(NOT EXISTS ${VQ_THIRDPARTY_PREFIX}/include/FreeImage.h)
    message(FATAL_ERROR "No libraries for the web in ${VQ_THIRDPARTY_PREFIX}: "
                        "run scripts/thirdparty web first")
endif()

# The layer (src/CMakeLists.txt): the only GL and GLU the scenes see in this build.
add_library(OpenGL::GL INTERFACE IMPORTED GLOBAL)
set_target_properties(OpenGL::GL PROPERTIES INTERFACE_LINK_LIBRARIES vq_webgl)
add_library(PkgConfig::GLU INTERFACE IMPORTED GLOBAL)
set_target_properties(PkgConfig::GLU PROPERTIES INTERFACE_LINK_LIBRARIES vq_webgl)

include(${CMAKE_CURRENT_LIST_DIR}/PrefixLibraries.cmake)

vq_prefix_library(MPG123 LIBS mpg123)
vq_prefix_library(KISSFFT INCLUDES kissfft LIBS kissfft-float DEFINES kiss_fft_scalar=float)

# Emscripten's SDL 1.2 is a JavaScript library linked by default; its headers are included as
# <SDL.h>, as on the desktop.
add_library(PkgConfig::SDL INTERFACE IMPORTED GLOBAL)
set_target_properties(PkgConfig::SDL PROPERTIES INTERFACE_INCLUDE_DIRECTORIES
                      ${EMSCRIPTEN_SYSROOT}/include/SDL)

# FreeImage's static library (its recipe asks for a shared one, which Emscripten builds static),
# with the codecs it was built against.
foreach(candidate FreeImage.a libFreeImage.a)
    if(EXISTS ${VQ_THIRDPARTY_PREFIX}/lib/${candidate})
        set(FREEIMAGE_LIBRARY ${VQ_THIRDPARTY_PREFIX}/lib/${candidate})
    endif()
endforeach()
set(FREEIMAGE_INCLUDE_DIR ${VQ_THIRDPARTY_PREFIX}/include)
set(VQ_FREEIMAGE_CODECS ${VQ_THIRDPARTY_PREFIX}/lib/libpng16.a
    ${VQ_THIRDPARTY_PREFIX}/lib/libjpeg.a ${VQ_THIRDPARTY_PREFIX}/lib/libz.a)

# No threads of the program's own run in the page: nothing to link, and no -pthread, which
# would ask the page for cross-origin isolation.
add_library(Threads::Threads INTERFACE IMPORTED GLOBAL)

# The link checks take a layer's archive whole; wasm-ld does so as GNU ld does.
set(CMAKE_LINK_LIBRARY_USING_WHOLE_ARCHIVE "LINKER:--whole-archive" "<LINK_ITEM>"
    "LINKER:--no-whole-archive")
set(CMAKE_LINK_LIBRARY_USING_WHOLE_ARCHIVE_SUPPORTED TRUE)
