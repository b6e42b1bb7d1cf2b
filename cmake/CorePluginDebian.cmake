# What the installation holds beyond the libraries, and the Debian packages
# that scripts/build-packages.sh makes from it with CPack's DEB generator:
#   coreplugin      corehost, the plug-ins and the libraries they need (in the
#                   private directory <libdir>), the examples and baselines
#                   under <datadir>/coreplugin;
#   coreplugin-dev  the headers, the linker links, the CMake package and the
#                   pkg-config files.
# The version is the project's; the dependencies are those dpkg-shlibdeps finds
# in the binaries.
option(COREPLUGIN_PACKAGE_DEB
       "Install the Debian documents (copyright, changelogs) under <datadir>/doc" OFF)

set(COREPLUGIN_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/coreplugin)
# The examples run from <datadir>/coreplugin, as from the source tree: their
# documents name their data as examples/data/...
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${COREPLUGIN_SHARE_DIR}/examples
        COMPONENT runtime PATTERN baseline EXCLUDE)
# Baselines for whole systems (baseline/debian12.json, ...), when there are any.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/baseline/ DESTINATION ${COREPLUGIN_SHARE_DIR}/baseline
        COMPONENT runtime OPTIONAL)
# Manual pages, when there are any: man/man1/*.1 and man/man5/*.5.
foreach(section 1 5)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/man/man${section}/ DESTINATION
          ${CMAKE_INSTALL_MANDIR}/man${section} COMPONENT runtime OPTIONAL
          FILES_MATCHING PATTERN "*.${section}")
endforeach()

set(COREPLUGIN_DEB_RELEASE 1)
set(COREPLUGIN_DEB_VERSION ${PROJECT_VERSION}-${COREPLUGIN_DEB_RELEASE})
set(COREPLUGIN_DEB_MAINTAINER "CorePlugin developers <coreplugin@example.org>")

if(COREPLUGIN_PACKAGE_DEB)
  # Every package carries its copyright file and changelogs in
  # /usr/share/doc/<package>; the Debian changelog is dated by SOURCE_DATE_EPOCH
  # when it is set (scripts/build-packages.sh sets the last commit's date).
  string(TIMESTAMP COREPLUGIN_DEB_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.Debian.in
                 ${PROJECT_BINARY_DIR}/debian/changelog.Debian @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md)
  foreach(name changelog.Debian)
    execute_process(COMMAND gzip -9nc ${PROJECT_BINARY_DIR}/debian/${name}
                    OUTPUT_FILE ${PROJECT_BINARY_DIR}/debian/${name}.gz COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  execute_process(COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/CHANGELOG.md
                  OUTPUT_FILE ${PROJECT_BINARY_DIR}/debian/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
  foreach(component runtime dev)
    set(package coreplugin)
    if(component STREQUAL "dev")
      set(package coreplugin-dev)
    endif()
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright
                  ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz
                  ${PROJECT_BINARY_DIR}/debian/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
  endforeach()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME coreplugin)
set(CPACK_PACKAGE_VENDOR "CorePlugin developers")
set(CPACK_PACKAGE_CONTACT "${COREPLUGIN_DEB_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL runtime dev)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${COREPLUGIN_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries live in a private directory that only RUNPATHs reach.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    ${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR})

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME coreplugin)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
    "checks of a Linux machine written as expression trees
corehost evaluates expression trees about a Linux machine, written as JSON:
versions and numbers compared, texts and lists, files, INI keys and mounts.
Rules carry their expected results, and reports come as text, JSON, JUnit
XML or TAP. The package holds corehost, the plug-ins that provide the
expressions, the libraries they need, examples and baselines in
/usr/share/coreplugin.")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME coreplugin-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "coreplugin (= ${COREPLUGIN_DEB_VERSION})")
set(CPACK_DEBIAN_DEV_DESCRIPTION
    "development files for hosts of the CorePlugin plug-ins
Headers of the host SDK, the base library, the logging wrapper, the
string utilities and the evaluator library, with the CMake package
(find_package(CorePlugin)) and pkg-config files (coreplugin-sdk and
others) for programs that load the plug-ins or evaluate expression
trees themselves.")
include(CPack)
