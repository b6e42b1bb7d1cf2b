# AuditRules against auditctl -R/-l, the kernel's list and augenrules, on
# generated rules files and trees.
add_executable(audit_rules_driver AuditRulesDriver.cpp)
target_link_libraries(audit_rules_driver PRIVATE systemplugin_static coreplugin_warnings)
if(Python3_Interpreter_FOUND)
  # Loads rules into the kernel: one at a time, never beside another user of it.
  add_test(NAME audit-rules-vs-auditctl
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/audit-rules-vs-auditctl.py
                   $<TARGET_FILE:audit_rules_driver>)
  set_tests_properties(audit-rules-vs-auditctl PROPERTIES LABELS differential TIMEOUT 600
                       SKIP_RETURN_CODE 77 RESOURCE_LOCK kernel-audit-rules)
endif()
