# Hardened builds.
#
# Linux: a Release build takes Debian's hardening flags from dpkg-buildflags
# with every hardening feature on (stack protector, _FORTIFY_SOURCE, format
# checks, read-only relocations bound at start), as Debian's own package
# build does (debian/rules); the optimisation and debug flags stay CMake's.
# The sanitizer and fuzzer builds bring their own instrumentation instead.
#
# Windows: the program checks its stack and its buffer copies in every build
# that optimises, and is marked for the Windows versions its manifest names
# (7 and later: subsystem 6.1), with ASLR and DEP.

if(WIN32)
  add_compile_options(-fstack-protector-strong)
  # _FORTIFY_SOURCE works through the optimiser and warns without it.
  add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
  add_link_options(-fstack-protector-strong
    LINKER:--major-subsystem-version,6,--minor-subsystem-version,1
    LINKER:--dynamicbase,--nxcompat)
  return()
endif()

option(SAME_HEIGHT_HARDENING "Build Release with the distribution's hardening flags" ON)
if(NOT SAME_HEIGHT_HARDENING OR SAME_HEIGHT_SANITIZERS OR SAME_HEIGHT_FUZZERS)
  return()
endif()

find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT DPKG_BUILDFLAGS)
  message(STATUS "No dpkg-buildflags (dpkg-dev): Release is built without hardening flags")
  return()
endif()

# Only the hardening feature is asked for, and the optimisation, debug and
# file-path flags that come with every answer are left out.
function(hardening_flags out_var flags_name)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            ${DPKG_BUILDFLAGS} --get ${flags_name}
    OUTPUT_VARIABLE output OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${output}")
  list(FILTER flags EXCLUDE REGEX "^-(g.*|O.*|f[a-z]*-prefix-map=.*)$")
  set(${out_var} ${flags} PARENT_SCOPE)
endfunction()

hardening_flags(hardening_preprocessor_flags CPPFLAGS)
hardening_flags(hardening_compiler_flags CXXFLAGS)
hardening_flags(hardening_linker_flags LDFLAGS)
add_compile_options(
  "$<$<CONFIG:Release>:${hardening_preprocessor_flags};${hardening_compiler_flags}>")
add_link_options("$<$<CONFIG:Release>:${hardening_linker_flags}>")
list(JOIN hardening_preprocessor_flags " " preprocessor_flags)
list(JOIN hardening_compiler_flags " " compiler_flags)
list(JOIN hardening_linker_flags " " linker_flags)
message(STATUS "Release hardening flags: ${preprocessor_flags} ${compiler_flags} ${linker_flags}")
