# resources_test: the wine test that reads the resources of Update.exe back
# from its own module, so it links resources/update.rc instead of the core.
# cmake/win32.cmake includes this file with every tests/wine/*.cmake and
# runs the test under Wine like the others; the dialog tests skip when no
# window can be made (no display).
include(${CMAKE_SOURCE_DIR}/resources/resources.cmake)

add_executable(resources_test
  ${CMAKE_CURRENT_LIST_DIR}/resources_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/resource_reader.cpp)
velmora_add_resources(resources_test)
target_include_directories(resources_test PRIVATE ${CMAKE_SOURCE_DIR})
# version: GetFileVersionInfo and VerQueryValue.
target_link_libraries(resources_test PRIVATE gtest_main user32 gdi32 version)
add_test(NAME resources_test COMMAND resources_test)
