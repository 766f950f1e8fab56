# Hardened as Debian builds its own packages: the flags of dpkg-buildflags with every hardening
# feature on (stack protector, _FORTIFY_SOURCE, format security, full RELRO with -z now), in
# every build for Debian but the sanitizer and fuzz builds, whose instrumentation stands in
# for them. The optimisation and debugging flags stay the build type's. Included from the
# top-level CMakeLists.txt before any target.

find_program(KURUBAKO_DPKG_BUILDFLAGS dpkg-buildflags)
if(KURUBAKO_SANITIZE OR KURUBAKO_FUZZ OR CMAKE_CROSSCOMPILING OR NOT KURUBAKO_DPKG_BUILDFLAGS)
    return()
endif()

set(kurubako_hardening)
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            ${KURUBAKO_DPKG_BUILDFLAGS} --get ${kind}
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    foreach(flag IN LISTS flags)
        if(flag MATCHES "^-(g|O)" OR flag MATCHES "^-ffile-prefix-map=")
            continue()
        elseif(kind STREQUAL LDFLAGS)
            add_link_options(${flag})
        elseif(flag MATCHES "^-D_FORTIFY_SOURCE")
            # It needs an optimised build, and warns in any other.
            add_compile_options($<$<NOT:$<CONFIG:Debug>>:${flag}>)
        else()
            add_compile_options(${flag})
        endif()
        list(APPEND kurubako_hardening ${flag})
    endforeach()
endforeach()
message(STATUS "Hardening flags (dpkg-buildflags): ${kurubako_hardening}")
