# A Windows build made on Linux runs its tests under Wine: CTest starts each test program
# through the emulator set here, as a Japanese Windows would (code page 932), in a Wine prefix
# of the build's own, with Qt's DLLs taken from where the toolchain keeps them (Qt finds its
# plugins beside them). scripts/windows makes that prefix afresh before the tests; Wine makes
# it on first use otherwise. Included from the top-level CMakeLists.txt after Qt is found.

if(NOT (WIN32 AND CMAKE_CROSSCOMPILING) OR CMAKE_CROSSCOMPILING_EMULATOR)
    return()
endif()
find_program(KURUBAKO_WINE wine)
if(NOT KURUBAKO_WINE)
    message(STATUS "kurubako: no wine on the PATH; the Windows tests are built but cannot run")
    return()
endif()

get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
cmake_path(GET qt_core_dll PARENT_PATH qt_bin)
# Wine sees the whole Linux file system as drive Z:.
string(REPLACE "/" "\\" qt_bin_windows "Z:${qt_bin}")
set(KURUBAKO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "The Wine prefix in which the tests run")

# Wine takes the code page from LC_ALL, and needs that locale on the Linux side for Japanese
# file names (install-deps --windows makes it); no Mono or Gecko is needed, so Wine is not to
# offer them.
set(CMAKE_CROSSCOMPILING_EMULATOR
    env WINEPREFIX=${KURUBAKO_WINEPREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
        LC_ALL=ja_JP.UTF-8 WINEPATH=${qt_bin_windows} ${KURUBAKO_WINE})
