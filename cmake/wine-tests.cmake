# The Windows build's tests: googletest cross-compiled from Debian's sources
# (package googletest), and every test program run under Wine.

set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "googletest's sources")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# ctest starts each test program through run-under-wine, which runs it in
# this build's own Wine prefix and makes the prefix on first use.
set(SAME_HEIGHT_WINE_PREFIX ${PROJECT_BINARY_DIR}/wine-prefix CACHE PATH
    "The Wine prefix the tests run in; made on first use")
set(make_wine_prefix ${CMAKE_CURRENT_LIST_DIR}/make-wine-prefix.sh)
# A 32-bit build runs in a 32-bit prefix through Debian's wine wrapper; a
# 64-bit build in a 64-bit prefix through the 64-bit loader itself, since the
# wrapper prefers the 32-bit one whenever it is installed.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(SAME_HEIGHT_WINE_ARCH win64)
  find_program(SAME_HEIGHT_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
  find_program(SAME_HEIGHT_WINE NAMES wine64)
else()
  set(SAME_HEIGHT_WINE_ARCH win32)
  find_program(SAME_HEIGHT_WINE NAMES wine)
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/run-under-wine.sh.in ${PROJECT_BINARY_DIR}/run-under-wine
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
               GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/run-under-wine)
endif()
