# Run by CPack on the staged files of each package before it packs them: the programs lose the
# compiler's .comment section (as Debian's own stripping does), and every file and folder gets
# the time of SOURCE_DATE_EPOCH (the last commit's, set by scripts/package), so that two builds
# of one commit give the same packages whenever they ran.
file(GLOB programs ${CPACK_TEMPORARY_DIRECTORY}/lib/games/vorrel-quisp/*
     ${CPACK_TEMPORARY_DIRECTORY}/usr/lib/games/vorrel-quisp/*)
foreach(program IN LISTS programs)
    execute_process(COMMAND objcopy --remove-section=.comment ${program} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "objcopy failed on ${program}")
    endif()
endforeach()

if(DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(
        COMMAND find ${CPACK_TEMPORARY_DIRECTORY} -exec touch -h -d @$ENV{SOURCE_DATE_EPOCH} {} +
        RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "cannot set the times of the staged files")
    endif()
endif()
