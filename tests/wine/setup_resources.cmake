# setup_resources_test: the wine test of Setup.exe's resources. Like
# resources_test it links a resource script (resources/setup.rc) instead of
# the core and reads the templates back from its own module; it also loads
# Update.exe and Setup.exe as built, beside it, as data, so it waits for both.
# The window tests skip when no window can be made (no display).
include(${CMAKE_SOURCE_DIR}/resources/resources.cmake)

add_executable(setup_resources_test
  ${CMAKE_CURRENT_LIST_DIR}/setup_resources_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/resource_reader.cpp)
velmora_add_resources(setup_resources_test setup.rc)
target_include_directories(setup_resources_test PRIVATE ${CMAKE_SOURCE_DIR})
# comctl32: the progress bar's class; version: GetFileVersionInfo.
target_link_libraries(setup_resources_test PRIVATE gtest_main user32 gdi32 comctl32 version)
add_test(NAME setup_resources_test COMMAND setup_resources_test)

# The programs are defined after the tests; depend on them once they exist.
function(velmora_setup_resources_need_programs)
  foreach(program Update Setup)
    if(TARGET ${program})
      add_dependencies(setup_resources_test ${program})
    endif()
  endforeach()
endfunction()
cmake_language(DEFER CALL velmora_setup_resources_need_programs)
