# Run by CPack on the staged package before it is made: the .comment and .note sections (the
# compilers' names and versions) go from the executable, as Debian's dh_strip takes them away.
file(GLOB_RECURSE executables ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/lib/kurubako/kurubako)
foreach(executable IN LISTS executables)
    execute_process(COMMAND strip --remove-section=.comment --remove-section=.note ${executable}
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
