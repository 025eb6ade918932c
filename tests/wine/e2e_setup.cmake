# End-to-end test of Setup.exe, on the harness of e2e_update.cmake, with two
# small programs the test puts in the game's place: one started as the
# installed game, one registered to open the read-me and the manual.
add_executable(e2e_setup_test ${CMAKE_CURRENT_LIST_DIR}/e2e_setup_test.cpp)
target_link_libraries(e2e_setup_test PRIVATE e2e_support gtest_main ole32 uuid shell32)
add_dependencies(e2e_setup_test e2e_icon_probe)
add_test(NAME e2e_setup_test COMMAND e2e_setup_test)

foreach(helper fake_game recorder)
  add_executable(e2e_setup_${helper} ${CMAKE_CURRENT_LIST_DIR}/e2e_setup_${helper}.cpp)
  target_link_options(e2e_setup_${helper} PRIVATE -static -static-libgcc -static-libstdc++)
  add_dependencies(e2e_setup_test e2e_setup_${helper})
endforeach()

# Setup.exe is defined after the tests; depend on it once it exists.
function(velmora_e2e_needs_setup)
  if(TARGET Setup)
    add_dependencies(e2e_setup_test Setup)
  endif()
endfunction()
cmake_language(DEFER CALL velmora_e2e_needs_setup)
