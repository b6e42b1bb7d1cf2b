# The installed package: the CMake package CorePlugin (targets, the path of the
# plug-in module, a version file) and pkg-config files for hosts built without
# CMake. Every path in them is relative to the place they are installed at, so
# the installed tree can be moved or copied elsewhere as a whole.
include(CMakePackageConfigHelpers)

# Both live in the component "dev". Their directories default to <libdir>/cmake
# and <libdir>/pkgconfig; a Debian package keeps the libraries in a private
# directory and these two where cmake and pkg-config look by default.
set(COREPLUGIN_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/CorePlugin" CACHE STRING
    "Where the CMake package is installed, relative to the prefix")
set(COREPLUGIN_INSTALL_PKGCONFIGDIR "${CMAKE_INSTALL_LIBDIR}/pkgconfig" CACHE STRING
    "Where the pkg-config files are installed, relative to the prefix")
set(COREPLUGIN_CMAKE_DIR ${COREPLUGIN_INSTALL_CMAKEDIR})
install(EXPORT CorePluginTargets NAMESPACE CorePlugin:: DESTINATION ${COREPLUGIN_CMAKE_DIR}
        COMPONENT dev)
configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/CorePluginConfig.cmake.in ${PROJECT_BINARY_DIR}/CorePluginConfig.cmake
  INSTALL_DESTINATION ${COREPLUGIN_CMAKE_DIR}
  PATH_VARS CMAKE_INSTALL_LIBDIR CMAKE_INSTALL_INCLUDEDIR)
# The libraries' SONAMEs change with the major version, so only the same major
# version is compatible.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/CorePluginConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/CorePluginConfig.cmake
              ${PROJECT_BINARY_DIR}/CorePluginConfigVersion.cmake
        DESTINATION ${COREPLUGIN_CMAKE_DIR} COMPONENT dev)

# pkg-config files: the prefix is found from the .pc file's own directory.
set(COREPLUGIN_PC_DIR ${COREPLUGIN_INSTALL_PKGCONFIGDIR})
file(RELATIVE_PATH COREPLUGIN_PC_TO_PREFIX /${COREPLUGIN_PC_DIR} /)
string(REGEX REPLACE "/$" "" COREPLUGIN_PC_TO_PREFIX "${COREPLUGIN_PC_TO_PREFIX}")
set(COREPLUGIN_PC_FILES coreplugin-base coreplugin-log coreplugin-sdk coreplugin-utils)
if(TARGET corehost_eval)
  list(APPEND COREPLUGIN_PC_FILES coreplugin-eval)
endif()
foreach(name ${COREPLUGIN_PC_FILES})
  configure_file(${CMAKE_CURRENT_LIST_DIR}/pkgconfig/${name}.pc.in
                 ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc DESTINATION ${COREPLUGIN_PC_DIR}
          COMPONENT dev)
endforeach()
