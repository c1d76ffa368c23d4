# Run by CPack after it made the packages: CPack writes the tarball's members in the order the
# file system lists them, under the builder's own user. Packed again here with GNU tar, sorted by
# name, owned by root, with the staged times and no time in the gzip header: the same bytes
# from every build of one commit.
# The top folder has no entry of its own in CPack's tarball: unpacking makes it now.
set(clamp "")
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(clamp --mtime=@$ENV{SOURCE_DATE_EPOCH} --clamp-mtime)
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "\\.tar\\.gz$")
        continue()
    endif()
    set(unpacked ${package}.unpacked)
    file(REMOVE_RECURSE ${unpacked})
    file(MAKE_DIRECTORY ${unpacked})
    execute_process(COMMAND tar -xpzf ${package} -C ${unpacked} RESULT_VARIABLE status)
    if(status EQUAL 0)
        file(GLOB top RELATIVE ${unpacked} ${unpacked}/*)
        execute_process(
            COMMAND tar --sort=name --owner=0 --group=0 --numeric-owner --format=gnu ${clamp}
                    -C ${unpacked} -cf - ${top}
            COMMAND gzip -n -9
            OUTPUT_FILE ${package}
            RESULTS_VARIABLE statuses)
        set(status 0)
        foreach(step IN LISTS statuses)
            if(NOT step EQUAL 0)
                set(status ${step})
            endif()
        endforeach()
    endif()
    file(REMOVE_RECURSE ${unpacked})
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "cannot pack ${package} again in sorted order")
    endif()
endforeach()
