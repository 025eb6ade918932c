# End-to-end tests of Update.exe: a driver that starts the real program under
# Wine and works it through its windows, plus the small library it is made of
# (tests/wine/e2e), the icon probe DLL it loads into the program, and the demo
# driver of scripts/demo. Only Win32 is linked: the driver knows the program
# from outside, as a user does.
file(GLOB E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/e2e/*.cpp)
list(FILTER E2E_SOURCES EXCLUDE REGEX ".*/e2e/(icon_probe_hook|demo_main)\\.cpp$")
add_library(e2e_support STATIC ${E2E_SOURCES})
target_link_libraries(e2e_support PUBLIC user32 gdi32 advapi32)

# Loaded by Wine into the program under test, so self-contained; the hook is
# looked up by its plain name.
add_library(e2e_icon_probe SHARED ${CMAKE_CURRENT_LIST_DIR}/e2e/icon_probe_hook.cpp)
set_target_properties(e2e_icon_probe PROPERTIES PREFIX "")
target_link_options(e2e_icon_probe PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--kill-at)
target_link_libraries(e2e_icon_probe PRIVATE user32)

add_executable(e2e_update_test ${CMAKE_CURRENT_LIST_DIR}/e2e_update_test.cpp)
target_link_libraries(e2e_update_test PRIVATE e2e_support gtest_main)
add_dependencies(e2e_update_test e2e_icon_probe)
add_test(NAME e2e_update_test COMMAND e2e_update_test)

if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/e2e/demo_main.cpp)
  add_executable(velmora_demo ${CMAKE_CURRENT_LIST_DIR}/e2e/demo_main.cpp)
  target_link_libraries(velmora_demo PRIVATE e2e_support)
  add_dependencies(velmora_demo e2e_icon_probe)
endif()

# Update.exe is defined after the tests; depend on it once it exists.
function(velmora_e2e_needs_update)
  if(TARGET Update)
    add_dependencies(e2e_update_test Update)
    if(TARGET velmora_demo)
      add_dependencies(velmora_demo Update)
    endif()
  endif()
endfunction()
cmake_language(DEFER CALL velmora_e2e_needs_update)
