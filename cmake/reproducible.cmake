# Reproducible builds: the same commit gives the same bytes, whatever folder
# it is built in and whenever. The Debian package gets the same from
# dpkg-buildflags and dpkg-deb (debian/rules); the icons the build renders
# carry no time (cmake/program-icon.cmake).
#
# Windows: no folder in the program (the paths the compiler writes for
# __FILE__ and debug information are relative to the source tree) and no time
# stamp in its PE header, which otherwise holds the time it was linked.
if(WIN32)
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                      -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
  add_link_options(LINKER:--no-insert-timestamp)
endif()
