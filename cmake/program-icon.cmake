# The program's icon has one source, the scalable picture in desktop/. Every
# raster form of it (the hicolor sizes, the window icon's sizes, the Windows
# .ico) is rendered from it by the build, so no copy can drift from it.
#
# rsvg-convert (librsvg2-bin) writes no time or path into a PNG, so the same
# picture and the same librsvg give the same bytes on every build.

set(SAME_HEIGHT_ICON_SOURCE ${PROJECT_SOURCE_DIR}/desktop/${SAME_HEIGHT_DESKTOP_ID}.svg)

find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert renders the program's icon: install librsvg2-bin")
endif()

# Renders the picture at each of the given pixel sizes into
# ${CMAKE_CURRENT_BINARY_DIR}/icon/SIZE.png and sets OUT_VAR to the list of
# files made, in the order of the sizes; a target that uses them lists them
# as its sources or as DEPENDS of its own command.
function(render_program_icon out_var)
  set(files "")
  foreach(size IN LISTS ARGN)
    set(png ${CMAKE_CURRENT_BINARY_DIR}/icon/${size}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icon
      COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --format=png
              --output=${png} ${SAME_HEIGHT_ICON_SOURCE}
      DEPENDS ${SAME_HEIGHT_ICON_SOURCE}
      COMMENT "Rendering the program's icon at ${size} pixels"
      VERBATIM)
    list(APPEND files ${png})
  endforeach()
  set(${out_var} ${files} PARENT_SCOPE)
endfunction()
