# The program's one version number is the project's (project(... VERSION)).
# The code reads it from a generated header, kovalex_version.h, through the
# interface target kovalex_version; the files installed beside the programs
# (manual pages, help file, metainfo) carry the placeholder @PROJECT_VERSION@
# and are written into the build tree with the number filled in.
configure_file(${CMAKE_CURRENT_LIST_DIR}/kovalex_version.h.in ${PROJECT_BINARY_DIR}/generated/kovalex_version.h
               @ONLY)
add_library(kovalex_version INTERFACE)
target_include_directories(kovalex_version INTERFACE ${PROJECT_BINARY_DIR}/generated)

# Writes INPUT to OUTPUT with the version placeholder replaced and nothing
# else touched (the help file holds other at-signs that configure_file would
# take for variables).  The output is rewritten only when it changes.
function(kovalex_versioned_file input output)
  file(READ ${input} text)
  string(REPLACE "@PROJECT_VERSION@" "${PROJECT_VERSION}" text "${text}")
  file(WRITE ${output}.new "${text}")
  configure_file(${output}.new ${output} COPYONLY)
  file(REMOVE ${output}.new)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${input})
endfunction()
