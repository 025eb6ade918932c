# The update of a big installation killed at several moments and run again,
# on the harness of e2e_update.cmake. Its hook makes the big new files on the
# Unix side, where writing some hundred MiB takes a second, not a minute.
add_executable(e2e_interrupted_update_test ${CMAKE_CURRENT_LIST_DIR}/e2e_interrupted_update_test.cpp)
target_link_libraries(e2e_interrupted_update_test PRIVATE e2e_support gtest_main)
add_dependencies(e2e_interrupted_update_test e2e_icon_probe)
add_test(NAME e2e_interrupted_update_test COMMAND e2e_interrupted_update_test)

# Update.exe is defined after the tests; depend on it once it exists.
function(velmora_e2e_interrupted_needs_update)
  if(TARGET Update)
    add_dependencies(e2e_interrupted_update_test Update)
  endif()
endfunction()
cmake_language(DEFER CALL velmora_e2e_interrupted_needs_update)
