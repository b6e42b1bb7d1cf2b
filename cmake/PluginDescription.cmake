# coreplugin_add_description(PLUGIN STATIC SOURCE): the description file of the
# plug-in module PLUGIN, lib<PLUGIN>.description beside it (in the build and
# in the installation), written at build time by a program that links the
# plug-in's static library STATIC and SOURCE (which defines describePlugin()).
# Hosts learn the plug-in from this file; it is written from the same rows the
# plug-in's factory table is built from, so the two cannot disagree.
function(coreplugin_add_description plugin static source)
  string(TOLOWER ${plugin} lower)
  set(program ${lower}_describe)
  add_executable(${program} ${PROJECT_SOURCE_DIR}/src/plugins/PluginKit/describe/DescribeMain.cpp ${source})
  target_link_libraries(${program} PRIVATE ${static} coreplugin_warnings)
  set(file ${CMAKE_LIBRARY_OUTPUT_DIRECTORY}/lib${plugin}.description)
  # The program runs at build time: its leak report, if any, must not fail the build.
  add_custom_command(OUTPUT ${file}
                     COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
                             $<TARGET_FILE:${program}> ${file}
                     DEPENDS ${program}
                     COMMENT "Describing ${plugin}")
  add_custom_target(${plugin}Description ALL DEPENDS ${file})
  add_dependencies(${plugin} ${plugin}Description)
  install(FILES ${file} DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime)
endfunction()
