# Builds for the browser with Debian's Emscripten (its built-in SDL 1.2, no ports), against the
# libraries scripts/thirdparty builds for the web.
# The processor is named for what it is: libraries that see x86 turn on SSE code paths.
set(EMSCRIPTEN_SYSTEM_PROCESSOR wasm32)
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

if(NOT VQ_THIRDPARTY_PREFIX)
    if(DEFINED ENV{VQ_LIB_CACHE})
        set(VQ_THIRDPARTY_PREFIX "$ENV{VQ_LIB_CACHE}/web/prefix")
    else()
        set(VQ_THIRDPARTY_PREFIX "$ENV{HOME}/.cache/vorrel-quisp/web/prefix")
    endif()
endif()
set(VQ_THIRDPARTY_PREFIX "${VQ_THIRDPARTY_PREFIX}" CACHE PATH "Libraries built for the web")
list(APPEND CMAKE_FIND_ROOT_PATH ${VQ_THIRDPARTY_PREFIX})

# CMake's check of a type's size misreads Emscripten's objects (size_t came out as 7 bytes):
# the sizes the libraries ask for are wasm32's.
set(HAVE_SIZE_T TRUE CACHE INTERNAL "")
set(SIZE_T 4 CACHE INTERNAL "")
set(HAVE_UNSIGNED_LONG TRUE CACHE INTERNAL "")
set(UNSIGNED_LONG 4 CACHE INTERNAL "")
