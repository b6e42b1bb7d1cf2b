# UnitFileState against `systemctl --root=DIR is-enabled` on generated unit
# trees (about 2,000 cases).
add_executable(unit_state_driver ${CMAKE_CURRENT_LIST_DIR}/UnitStateDriver.cpp)
target_include_directories(unit_state_driver PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(unit_state_driver PRIVATE systemplugin_static coreplugin_warnings)
if(Python3_Interpreter_FOUND)
  add_test(NAME unit-state-vs-systemctl
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/unit-state-vs-systemctl.py
                   $<TARGET_FILE:unit_state_driver> 250)
  set_tests_properties(unit-state-vs-systemctl PROPERTIES LABELS differential
                       SKIP_RETURN_CODE 77 TIMEOUT 600)
endif()
