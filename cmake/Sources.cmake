# Which sources a build takes, and the libraries made of them.
#
# Platform files: a real difference between builds is one header with one source in each side
# folder: posix/ or windows/ (the operating system), desktop/ or web/ (SDL on a desktop, or in a
# page). A build takes the side folders of VQ_SIDES and leaves the others out.
#
# Optional features: each is an option that, when off, takes one stub in a without/ folder in
# place of its namesake one folder up, and drops the library behind it (vq_feature).
set(VQ_ALL_SIDES posix windows desktop web)
set(VQ_STUBBED "")
set(VQ_FEATURE_LIBS "")

# An option ON by default; off, source (relative to src/) gives way to its stub and the
# libraries are not linked.
macro(vq_feature option doc source)
    option(${option} "${doc}" ON)
    if(${option})
        list(APPEND VQ_FEATURE_LIBS ${ARGN})
    else()
        list(APPEND VQ_STUBBED ${CMAKE_SOURCE_DIR}/src/${source})
    endif()
endmacro()

# The .cpp files under dir that this build takes.
function(vq_sources out dir)
    file(GLOB_RECURSE files CONFIGURE_DEPENDS ${dir}/*.cpp)
    set(chosen "")
    foreach(file ${files})
        get_filename_component(folder ${file} DIRECTORY)
        get_filename_component(parent ${folder} DIRECTORY)
        get_filename_component(folder ${folder} NAME)
        get_filename_component(name ${file} NAME)
        if(folder IN_LIST VQ_ALL_SIDES AND NOT folder IN_LIST VQ_SIDES)
            continue()
        endif()
        if(folder STREQUAL "without" AND NOT ${parent}/${name} IN_LIST VQ_STUBBED)
            continue()
        endif()
        if(file IN_LIST VQ_STUBBED)
            continue()
        endif()
        list(APPEND chosen ${file})
    endforeach()
    set(${out} ${chosen} PARENT_SCOPE)
endfunction()

# A program with every object of lib and only what lib links: it fails to link when an object
# calls into something lib does not link (a layer above it, a tool it does not use).
function(vq_link_check lib)
    add_executable(${lib}_linkcheck ${CMAKE_SOURCE_DIR}/cmake/LinkCheck.cpp)
    target_link_libraries(${lib}_linkcheck PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${lib}>")
    if(EMSCRIPTEN)
        # wasm-ld drops unreferenced code before it resolves its calls: keep every object's.
        target_link_options(${lib}_linkcheck PRIVATE -Wl,--no-gc-sections)
    endif()
endfunction()

# A static library of the sources of dir this build takes (but EXCLUDE, relative to dir), its
# headers included from ROOT, so that an include names its folder ("main/Timeline.h"), linked
# PUBLIC and PRIVATE as given, with its link check.
function(vq_library name dir)
    cmake_parse_arguments(ARG "" "ROOT" "PUBLIC;PRIVATE;EXCLUDE" ${ARGN})
    vq_sources(sources ${dir})
    foreach(file ${ARG_EXCLUDE})
        list(REMOVE_ITEM sources ${dir}/${file})
    endforeach()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${ARG_ROOT})
    target_link_libraries(${name} PRIVATE vq_warnings)
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
    vq_link_check(${name})
endfunction()
