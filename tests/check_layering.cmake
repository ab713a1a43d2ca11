# Fails when an include points the wrong way between the program's layers.
# From the bottom up: runtime/core (toolkit-free services), register/ (the
# person table and the pair search), window/ (Form2 and its handlers), and
# the two toolkit backends, runtime/qt and runtime/win32, side by side.
#
# - The three lower layers include only the standard library (<name>, no
#   toolkit or system header) and the layers below them.
# - A backend includes any lower layer and its own toolkit, never the other
#   backend.
#
# Run with -DSOURCE_DIR=<a tree laid out like the project's>.

# For each layer: the project folders whose headers it may include (its own
# folder is always allowed, spelt with or without the folder).
set(allowed_runtime/core "runtime/core")
set(allowed_register "runtime/core|register")
set(allowed_window "runtime/core|register|window")
set(allowed_runtime/qt "runtime/core|register|window|runtime/qt")
set(allowed_runtime/win32 "runtime/core|register|window|runtime/win32")

# Angle-bracket includes that a layer must not use.
set(standard_only "^<[a-z_]+>$") # the standard library's headers, and nothing else
set(forbidden_system_runtime/qt "<windows\\.h>|<commctrl\\.h>")
set(forbidden_system_runtime/win32 "<Q[A-Za-z]*>|<Qt")

set(offenders "")
foreach(layer runtime/core register window runtime/qt runtime/win32)
  file(GLOB_RECURSE sources ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*" "" header "${line}")
      string(REGEX REPLACE "[ \t]*//.*$" "" header "${header}")
      set(wrong FALSE)
      if(header MATCHES "^\"(.*)\"$")
        set(path "${CMAKE_MATCH_1}")
        if(path MATCHES "\\.\\.")
          set(wrong TRUE) # a climb out of the folder hides where it leads
        elseif(path MATCHES "/" AND NOT path MATCHES "^(${allowed_${layer}})/[^/]+$")
          set(wrong TRUE)
        endif()
      elseif(layer MATCHES "^runtime/(qt|win32)$")
        if(header MATCHES "${forbidden_system_${layer}}")
          set(wrong TRUE)
        endif()
      elseif(NOT header MATCHES "${standard_only}")
        set(wrong TRUE)
      endif()
      if(wrong)
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
        list(APPEND offenders "${layer}: ${shown} includes ${header}")
      endif()
    endforeach()
  endforeach()
endforeach()

list(LENGTH offenders count)
if(count GREATER 0)
  list(JOIN offenders "\n" report)
  message(FATAL_ERROR "${count} includes point the wrong way:\n${report}")
endif()
message(STATUS "every include points down the layers")
