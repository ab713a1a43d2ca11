# Checks the Windows program's file with objdump: a 32-bit i386 program for
# the GUI subsystem of Windows 7 and later, with ASLR and DEP, no time stamp,
# and its icon, that imports only Windows' own DLLs. A 64-bit test build
# (cmake/mingw-w64-x86_64.cmake) passes -DARCH=x86-64 for its own file.
#   cmake -DEXE=same-height.exe -DOBJDUMP=i686-w64-mingw32-objdump -P check_exe.cmake

cmake_minimum_required(VERSION 3.25)

# The system DLLs every Windows has; the compiler's own DLLs
# (libstdc++-6.dll, libgcc_s_*.dll, libwinpthread-1.dll, libssp-0.dll) must
# not appear. advapi32.dll gives the stack protector its random guard value.
set(allowed_imports kernel32.dll user32.dll gdi32.dll comctl32.dll msvcrt.dll advapi32.dll)

# objdump shows the time stamp as a local time: in UTC, none reads as 1970.
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${OBJDUMP} -f -p ${EXE}
                OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "objdump could not read ${EXE}")
endif()

if(NOT DEFINED ARCH)
  set(ARCH i386)
endif()
set(problems "")
if(NOT dump MATCHES "file format pei-${ARCH}")
  list(APPEND problems "not a PE file for ${ARCH}")
endif()
if(NOT dump MATCHES "architecture: i386")
  list(APPEND problems "not for the i386 family")
endif()
if(NOT dump MATCHES "Subsystem[ \t]+00000002[ \t]+\\(Windows GUI\\)")
  list(APPEND problems "not for the Windows GUI subsystem")
endif()
# Windows 7 (6.1) is the oldest its manifest names.
if(NOT dump MATCHES "MajorSubsystemVersion[ \t]+6\n" OR NOT dump MATCHES "MinorSubsystemVersion[ \t]+1\n")
  list(APPEND problems "not marked for Windows 6.1 (subsystem version)")
endif()
# ASLR needs the relocations as well as the flag.
foreach(flag DYNAMIC_BASE NX_COMPAT)
  if(NOT dump MATCHES "DllCharacteristics[^\n]*\n([ \t]+[A-Z_]+\n)*[ \t]+${flag}\n")
    list(APPEND problems "no ${flag}")
  endif()
endforeach()
if(dump MATCHES "Entry 5 00000000 00000000 Base Relocation Directory")
  list(APPEND problems "no relocations, so no ASLR")
endif()
if(NOT dump MATCHES "Time/Date[ \t]+Thu Jan  1 00:00:00 1970")
  list(APPEND problems "a link time stamp in the header: two builds would differ")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" import_lines "${dump}")
set(imports "")
foreach(line IN LISTS import_lines)
  string(REGEX REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dll)
  list(APPEND imports ${dll})
  if(NOT dll IN_LIST allowed_imports)
    list(APPEND problems "imports ${dll}, which is not a Windows system DLL")
  endif()
endforeach()
foreach(needed kernel32.dll user32.dll)
  if(NOT needed IN_LIST imports)
    list(APPEND problems "does not import ${needed}: the import table was not read")
  endif()
endforeach()

# The manifest asks for the program's own layout on every monitor's DPI, so
# that the system does not stretch its window into a blur.
file(STRINGS ${EXE} dpi_awareness REGEX "<dpiAwareness[^>]*>PerMonitorV2, PerMonitor</dpiAwareness>")
if(NOT dpi_awareness)
  list(APPEND problems "its manifest does not declare per-monitor DPI awareness (version 2)")
endif()
file(STRINGS ${EXE} dpi_aware REGEX "<dpiAware[^>]*>true/pm</dpiAware>")
if(NOT dpi_aware)
  list(APPEND problems "its manifest does not declare per-monitor DPI awareness for older systems")
endif()

file(SIZE ${EXE} size)
list(JOIN imports ", " import_list)
message(STATUS "${EXE}: ${size} bytes; imports ${import_list}")
if(problems)
  list(JOIN problems "\n  " report)
  message(FATAL_ERROR "${EXE}:\n  ${report}")
endif()
