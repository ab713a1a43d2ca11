# Cross-compiles for 32-bit Windows with Debian's MinGW-w64 toolchain
# (g++-mingw-w64-i686): cmake -S . -B build/windows --toolchain cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(toolchain_prefix i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
