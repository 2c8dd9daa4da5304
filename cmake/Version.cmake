# The program's names and its one version number come from the project
# (project(kovalex VERSION ...)): the command is the project's name, the
# product that name in capitals with " Searcher", the window's product the
# product with " Mini".  The code reads them from a generated header,
# kovalex_version.h, through the interface target kovalex_version; the files
# installed beside the programs (manual pages, help file, metainfo) carry the
# placeholders @PROJECT_VERSION@, @KOVALEX_PRODUCT@ and @KOVALEX_WINDOW_PRODUCT@
# and are written into the build tree with them filled in.
string(TOUPPER "${PROJECT_NAME}" KOVALEX_PRODUCT)
string(APPEND KOVALEX_PRODUCT " Searcher")
set(KOVALEX_WINDOW_PRODUCT "${KOVALEX_PRODUCT} Mini")
configure_file(${CMAKE_CURRENT_LIST_DIR}/kovalex_version.h.in ${PROJECT_BINARY_DIR}/generated/kovalex_version.h
               @ONLY)
add_library(kovalex_version INTERFACE)
target_include_directories(kovalex_version INTERFACE ${PROJECT_BINARY_DIR}/generated)

# Writes INPUT to OUTPUT with the placeholders of the names and the version
# replaced and nothing else touched (the help file holds other at-signs that
# configure_file would take for variables).  The output is rewritten only
# when it changes.
function(kovalex_versioned_file input output)
  file(READ ${input} text)
  string(REPLACE "@PROJECT_VERSION@" "${PROJECT_VERSION}" text "${text}")
  string(REPLACE "@KOVALEX_WINDOW_PRODUCT@" "${KOVALEX_WINDOW_PRODUCT}" text "${text}")
  string(REPLACE "@KOVALEX_PRODUCT@" "${KOVALEX_PRODUCT}" text "${text}")
  file(WRITE ${output}.new "${text}")
  configure_file(${output}.new ${output} COPYONLY)
  file(REMOVE ${output}.new)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${input})
endfunction()
