# resources_test: a GoogleTest program linked with resources/update.rc that
# reads the resources back from its own module under Wine. Include this
# from the Windows build after the GoogleTest targets exist:
#
#   include(${CMAKE_SOURCE_DIR}/tests/wine/resources.cmake)
#
# The dialog tests need a display and skip without one (run the tests under
# xvfb-run to have them).
include(${CMAKE_SOURCE_DIR}/resources/resources.cmake)

if(TARGET GTest::gtest_main)
  set(_velmora_gtest_main GTest::gtest_main)
elseif(TARGET gtest_main)
  set(_velmora_gtest_main gtest_main)
else()
  message(FATAL_ERROR "tests/wine/resources.cmake: no GoogleTest target (gtest_main); include it after GoogleTest")
endif()

add_executable(resources_test ${CMAKE_CURRENT_LIST_DIR}/resources_test.cpp)
velmora_add_resources(resources_test)
target_link_libraries(resources_test PRIVATE ${_velmora_gtest_main} version gdi32)
target_include_directories(resources_test PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(resources_test PRIVATE -static)
add_test(NAME resources_test COMMAND resources_test)
