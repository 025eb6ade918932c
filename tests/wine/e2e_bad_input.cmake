# Bad input end to end, on the harness of e2e_update.cmake: Update.exe and
# Setup.exe on records, folders and drives they must refuse or survive.
add_executable(e2e_bad_input_test ${CMAKE_CURRENT_LIST_DIR}/e2e_bad_input_test.cpp)
target_link_libraries(e2e_bad_input_test PRIVATE e2e_support gtest_main ole32 uuid shell32)
add_dependencies(e2e_bad_input_test e2e_icon_probe)
add_test(NAME e2e_bad_input_test COMMAND e2e_bad_input_test)

# The programs are defined after the tests; depend on them once they exist.
function(velmora_e2e_bad_input_needs_programs)
  foreach(program Update Setup)
    if(TARGET ${program})
      add_dependencies(e2e_bad_input_test ${program})
    endif()
  endforeach()
endfunction()
cmake_language(DEFER CALL velmora_e2e_bad_input_needs_programs)
