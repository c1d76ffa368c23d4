# Libraries built by scripts/thirdparty into VQ_THIRDPARTY_PREFIX, given the target names the
# Linux build gets from pkg-config, so that the folders' CMake files link them the same way on
# every platform.

# name: the target; then the header folders (under include/) and the libraries to link.
function(vq_prefix_library name)
    cmake_parse_arguments(ARG "" "" "INCLUDES;LIBS;DEFINES" ${ARGN})
    add_library(PkgConfig::${name} INTERFACE IMPORTED GLOBAL)
    set(dirs ${VQ_THIRDPARTY_PREFIX}/include)
    foreach(sub ${ARG_INCLUDES})
        list(APPEND dirs ${VQ_THIRDPARTY_PREFIX}/include/${sub})
    endforeach()
    set(libs "")
    foreach(lib ${ARG_LIBS})
        # Not cached: another prefix (another library cache) finds its own files.
        unset(VQ_LIB_${lib} CACHE)
        find_library(VQ_LIB_${lib} NAMES ${lib} REQUIRED NO_CACHE NO_DEFAULT_PATH
                     PATHS ${VQ_THIRDPARTY_PREFIX}/lib)
        list(APPEND libs ${VQ_LIB_${lib}})
    endforeach()
    set_target_properties(PkgConfig::${name} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${dirs}"
        INTERFACE_LINK_LIBRARIES "${libs}" INTERFACE_COMPILE_DEFINITIONS "${ARG_DEFINES}")
endfunction()
