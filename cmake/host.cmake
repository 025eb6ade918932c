# Host build: the logic against the simulated Windows, tested with GoogleTest.
file(GLOB SIM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/sim/*.cpp)
add_library(platform_sim STATIC ${SIM_SOURCES})
find_package(Threads REQUIRED)
target_link_libraries(platform_sim PUBLIC Threads::Threads)

find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB HOST_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/host/*_test.cpp)
add_executable(host_tests ${HOST_TESTS})
# The core and the sim call each other; link them as a group.
target_link_libraries(host_tests PRIVATE
  -Wl,--start-group velmora_core platform_sim -Wl,--end-group GTest::gtest_main Threads::Threads)
gtest_discover_tests(host_tests DISCOVERY_TIMEOUT 60)
