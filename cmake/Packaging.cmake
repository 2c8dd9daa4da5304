# What an installation holds besides the programs, and the Debian package.
#
#   cmake --install build [--prefix DIR]     the files below, plus the programs
#   (cd build && cpack -G DEB)               kovalex_<version>_<arch>.deb
#
# The package's dependencies come from a scan of the shared libraries the
# programs link (dpkg-shlibdeps), so they follow the machine that builds it.

# The sample dictionaries, where a started program finds them when the
# working directory holds none (see core/dictionary_folder.h).
set(KOVALEX_SAMPLES KOVA-BIL.TXT KOVA4.TXT KOVA5A.TXT KOVA5B.TXT KOVA固名.TXT KOVA略語.TXT KOVSEN.TXT)
list(TRANSFORM KOVALEX_SAMPLES PREPEND ${PROJECT_SOURCE_DIR}/samples/)
install(FILES ${KOVALEX_SAMPLES} DESTINATION ${CMAKE_INSTALL_DATADIR}/kovalex/dictionaries)

# The manual pages show the version.
foreach(page kovalex.1 kovagrep.1)
  kovalex_versioned_file(${PROJECT_SOURCE_DIR}/doc/${page}.in ${PROJECT_BINARY_DIR}/doc/${page})
  install(FILES ${PROJECT_BINARY_DIR}/doc/${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/doc/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME kovalex)
set(CPACK_PACKAGE_VENDOR "The KOVALEX Searcher developers")
set(CPACK_PACKAGE_CONTACT "The KOVALEX Searcher developers <kovalex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Regular-expression search of Shift-JIS Japanese-English dictionaries")
set(CPACK_PACKAGE_DESCRIPTION
    "KOVALEX Searcher searches the six KOVA Japanese-English dictionaries, plain \
Shift-JIS text files with one entry per line, with regular expressions that \
treat a double-byte character as one character. The package holds the \
desktop program kovalex, the command-line search kovagrep, and small sample \
dictionaries.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window needs a font with Japanese glyphs to show the dictionaries.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk")

include(CPack)
