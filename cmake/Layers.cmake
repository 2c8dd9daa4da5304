# kovalex_layer(<target> <folder> [<source folder>])
#
# Lets <target> and the targets that link it include the headers of the layer
# in <folder>/ as "<folder>/file.h", and nothing else of the source tree: the
# include root is a folder of the build tree that holds one link,
# <folder> -> the layer's source folder.  A layer thus sees the headers of
# the layers it links and of no other; tests/layers_test.py checks the same
# from the sources.  The test helpers use the same scheme, as "support/..."
# with tests/support as the source folder.
function(kovalex_layer target folder)
  set(source "${PROJECT_SOURCE_DIR}/${folder}")
  if(ARGC GREATER 2)
    set(source "${ARGV2}")
  endif()
  set(root "${PROJECT_BINARY_DIR}/layers/${folder}")
  if(NOT EXISTS "${root}/${folder}")
    file(MAKE_DIRECTORY "${root}")
    file(CREATE_LINK "${source}" "${root}/${folder}" SYMBOLIC)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_include_directories(${target} PRIVATE "${root}")
  else()
    target_include_directories(${target} PUBLIC "${root}")
  endif()
endfunction()
