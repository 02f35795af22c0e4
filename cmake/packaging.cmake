# Installation of what runner/ builds, the examples, and the Debian package:
#   cmake --install build            # under CMAKE_INSTALL_PREFIX
#   cpack --config build/CPackConfig.cmake -G DEB
include(GNUInstallDirs)

install(TARGETS cmdrunner RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
file(GLOB CMDRUNNER_EXAMPLES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/examples/*.xml ${PROJECT_SOURCE_DIR}/examples/*.cpp)
install(FILES ${CMDRUNNER_EXAMPLES} DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cmdrunner)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "run a batch of command-line tools given as one encoded XML document")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "cmdrunner starts each tool of a command document directly (absolute path,
no shell, no search path) with its argument values, captures all it writes,
and tells the caller the outcome by exit status and at most one message.
cmdrunner-doc writes the one-word document from a readable XML file, shows
the document of a word, and explains what a word would do without running
it. A C++ client library (<cmdrunner/client.h>, pkg-config cmdrunner-client)
builds and reads the words from plain values.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "cmdrunner maintainers <maintainers@cmdrunner.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Depends from the programs' own shared libraries (libxml2, libstdc++, libc).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Only C++ callers that link the client library need these.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libxml2-dev, pkg-config")
include(CPack)

# A package of the sanitizer build would need the sanitizer runtimes in
# every program that links its client library: it is checked in the normal
# build only.
if(CMDRUNNER_TESTS AND NOT CMDRUNNER_SANITIZE)
  add_test(NAME debian_package
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/package_test.sh ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR}
                   ${CMAKE_INSTALL_LIBDIR} ${CMAKE_CXX_COMPILER})
endif()
