# Identity and installation of the libraries that embedding programs link.
#
# coreplugin_install_library(TARGET) gives a shared library a versioned SONAME
# (libNAME.so.MAJOR, the file libNAME.so.MAJOR.MINOR.PATCH and the link
# libNAME.so for the linker), a RUNPATH of $ORIGIN (every library it needs is
# installed beside it, so the prefix can move), and installs it into the
# CorePluginTargets export set under <prefix>/<libdir>: the library in the
# component "runtime", the link libNAME.so (for linkers only) in "dev".
function(coreplugin_install_library target)
  set_target_properties(${target} PROPERTIES
    VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    INSTALL_RPATH "$ORIGIN")
  install(TARGETS ${target} EXPORT CorePluginTargets
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev)
endfunction()
