# Checks the licence notices shipped beside the Windows program: its own
# licence, and those of the compiler's run-time parts linked into it.
#   cmake -DLICENSES=bin/licenses -P check_licences.cmake

cmake_minimum_required(VERSION 3.25)

# Each file, and a phrase that shows it is the notice it should be.
set(notices
  "same-height.txt=Permission is hereby granted, free of charge"
  "GPL-3.txt=GNU GENERAL PUBLIC LICENSE[ \t\n]+Version 3"
  "gcc-run-time-libraries.txt=GCC RUNTIME LIBRARY EXCEPTION"
  "mingw-w64-run-time-and-winpthreads.txt=mingw-w64-libraries/winpthreads"
  "README.txt=same-height.exe")

set(problems "")
foreach(notice IN LISTS notices)
  string(FIND "${notice}" "=" split)
  string(SUBSTRING "${notice}" 0 ${split} name)
  math(EXPR split "${split} + 1")
  string(SUBSTRING "${notice}" ${split} -1 phrase)
  if(NOT EXISTS "${LICENSES}/${name}")
    list(APPEND problems "${name} is missing")
    continue()
  endif()
  file(READ "${LICENSES}/${name}" text)
  string(TOUPPER "${text}" upper)
  string(TOUPPER "${phrase}" upper_phrase)
  if(NOT upper MATCHES "${upper_phrase}")
    list(APPEND problems "${name} does not read \"${phrase}\"")
  endif()
endforeach()

if(problems)
  list(JOIN problems "\n  " report)
  message(FATAL_ERROR "${LICENSES}:\n  ${report}")
endif()
message(STATUS "${LICENSES}: every licence notice is there")
