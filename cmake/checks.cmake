# Build options for the program's checks beyond the test suite: the sanitizers and the
# libFuzzer targets of fuzz/. Included from the top-level CMakeLists.txt before any target.

option(KURUBAKO_SANITIZE "Build every target with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(KURUBAKO_FUZZ "Build the libFuzzer targets of fuzz/ (needs clang)" OFF)

if(KURUBAKO_SANITIZE)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        message(FATAL_ERROR "KURUBAKO_SANITIZE needs GCC or clang")
    endif()
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

if(KURUBAKO_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "KURUBAKO_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++ "
                            "(./scripts/install-deps --fuzz installs it)")
    endif()
endif()

# What every program of the build runs with under the sanitizers, tests included, whoever
# registered them: the defaults are compiled into each executable (the variables
# ASAN_OPTIONS and UBSAN_OPTIONS still override them): stop at the first report, leaks
# included. The suite runs leak-free with Qt as Debian 12 ships it, without suppressions.
if(KURUBAKO_SANITIZE)
    add_library(kurubako_sanitizer_defaults OBJECT ${CMAKE_CURRENT_LIST_DIR}/sanitizer_defaults.cpp)
    link_libraries(kurubako_sanitizer_defaults)
endif()
