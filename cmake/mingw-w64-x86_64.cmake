# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 toolchain
# (g++-mingw-w64-x86-64-posix). The program ships as a 32-bit one; this build
# runs the same code and tests under 64-bit Wine on a machine whose kernel
# runs no 32-bit programs (scripts/test-stages/30-windows.sh chooses).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(toolchain_prefix x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
