# What both MinGW-w64 toolchain files share; each sets CMAKE_SYSTEM_PROCESSOR
# and toolchain_prefix, then includes this.
set(CMAKE_SYSTEM_NAME Windows)

# The POSIX-threads flavour of the compiler has the whole C++ thread support
# library; linked statically, it adds no DLL of its own.
set(CMAKE_C_COMPILER ${toolchain_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${toolchain_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${toolchain_prefix}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${toolchain_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ run-times are linked into each program, so a program imports
# only Windows' own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
