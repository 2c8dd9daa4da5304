# cmake -DSOURCE=<file> -DDESTINATION=<dir> -P copy_if_present.cmake
#
# Copies a file into a directory when the file exists (the help file is
# written separately from the program and may be missing in a fresh tree).
if(EXISTS "${SOURCE}")
  file(COPY "${SOURCE}" DESTINATION "${DESTINATION}")
endif()
