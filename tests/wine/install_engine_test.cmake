# install_engine_test runs twice: in the run's 32-bit prefix like every wine
# test, and in a 64-bit prefix of its own, where the 32-bit program runs under
# WOW64 and its record goes to the registry's 32-bit view. The second run is
# one ctest test that makes, uses and stops that prefix (install_engine_test.sh).
add_executable(install_engine_test ${CMAKE_CURRENT_LIST_DIR}/install_engine_test.cpp)
target_link_libraries(install_engine_test PRIVATE
  e2e_support ${VELMORA_WIN32_LINK} gtest_main ${VELMORA_WIN32_LIBS})
add_test(NAME install_engine_test COMMAND install_engine_test)
add_test(NAME install_engine_test_wow64
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_engine_test.sh wow64
          ${CMAKE_BINARY_DIR}/wine64-prefix $<TARGET_FILE:install_engine_test>)
