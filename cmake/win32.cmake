# Windows build: the Win32 backend, the programs and the tests that run under Wine.

set(VELMORA_WIN32_LIBS user32 gdi32 comctl32 shell32 ole32 uuid advapi32 winmm)

# A STATIC library without sources fails to generate; while a tree is still
# being filled, give such a library one empty translation unit.
function(velmora_ensure_sources target)
  get_target_property(sources ${target} SOURCES)
  if(NOT sources)
    set(stub ${CMAKE_CURRENT_BINARY_DIR}/${target}_empty.cpp)
    file(WRITE ${stub} "// ${target} has no sources yet.\n")
    target_sources(${target} PRIVATE ${stub})
  endif()
endfunction()

file(GLOB WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)
add_library(platform_win32 STATIC ${WIN32_SOURCES})
target_compile_definitions(platform_win32 PUBLIC NOMINMAX)
target_link_libraries(platform_win32 PUBLIC ${VELMORA_WIN32_LIBS})
velmora_ensure_sources(velmora_core)
velmora_ensure_sources(platform_win32)

# The core and the backend call each other; link them as a group.
set(VELMORA_WIN32_LINK
  -Wl,--start-group velmora_core platform_win32 -Wl,--end-group)

# Update.exe and any other GUI program: the Windows entry, one resource script,
# the core and the backend. Skipped while the entry or the script is missing.
# TEMPLATE: the setup dialog's template for the entry (VELMORA_DIALOG_TEMPLATE);
# without it the entry's own default.
function(velmora_add_program name rcfile)
  cmake_parse_arguments(PARSE_ARGV 2 program "" "TEMPLATE" "")
  set(entry ${CMAKE_SOURCE_DIR}/shell/win_main.cpp)
  get_filename_component(rc ${rcfile} ABSOLUTE BASE_DIR ${CMAKE_SOURCE_DIR})
  if(NOT EXISTS ${entry} OR NOT EXISTS ${rc})
    message(STATUS "${name}: skipped until shell/win_main.cpp and ${rcfile} exist")
    return()
  endif()
  # windres runs as a custom command: the C++ options of the tree are not
  # windres options. The scripts are UTF-8 like every source.
  get_filename_component(rcdir ${rc} DIRECTORY)
  get_filename_component(rcname ${rc} NAME_WE)
  # The preprocessor reports the headers; icons and manifests it never sees.
  file(GLOB_RECURSE rcinputs CONFIGURE_DEPENDS ${rcdir}/*)
  set(object ${CMAKE_CURRENT_BINARY_DIR}/${name}_${rcname}.res.o)
  add_custom_command(OUTPUT ${object}
    COMMAND ${CMAKE_RC_COMPILER} --codepage=65001 -O coff
            -I ${rcdir} -I ${CMAKE_SOURCE_DIR}
            --preprocessor-arg=-MMD --preprocessor-arg=-MF${object}.d
            --preprocessor-arg=-MT${object}
            -i ${rc} -o ${object}
    DEPENDS ${rc} ${rcinputs}
    DEPFILE ${object}.d
    WORKING_DIRECTORY ${rcdir}
    COMMENT "Compiling resources ${rcfile}"
    VERBATIM)
  add_executable(${name} WIN32 ${entry} ${object})
  target_link_libraries(${name} PRIVATE ${VELMORA_WIN32_LINK} ${VELMORA_WIN32_LIBS})
  if(program_TEMPLATE)
    target_compile_definitions(${name} PRIVATE VELMORA_DIALOG_TEMPLATE=${program_TEMPLATE})
  endif()
endfunction()

# GoogleTest, cross-built from the distribution's sources.
set(VELMORA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to cross-build")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VELMORA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Every wine test shares one throwaway prefix and one Xvfb display, made by a
# fixture for the whole ctest run. Tests share the prefix's registry and
# drives, so they take turns. Any add_test of a Windows exe runs through
# runner.sh, as its cross-compiling emulator.
set(VELMORA_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(VELMORA_WINE_DIR ${CMAKE_SOURCE_DIR}/tests/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR bash ${VELMORA_WINE_DIR}/runner.sh ${VELMORA_WINE_PREFIX})
add_test(NAME wine_prefix_create
  COMMAND bash ${VELMORA_WINE_DIR}/prefix.sh create ${VELMORA_WINE_PREFIX})
add_test(NAME wine_prefix_stop
  COMMAND bash ${VELMORA_WINE_DIR}/prefix.sh stop ${VELMORA_WINE_PREFIX})
set_tests_properties(wine_prefix_create PROPERTIES
  FIXTURES_SETUP wine_prefix RESOURCE_LOCK wine_prefix TIMEOUT 900)
set_tests_properties(wine_prefix_stop PROPERTIES
  FIXTURES_CLEANUP wine_prefix RESOURCE_LOCK wine_prefix TIMEOUT 120)

# A test that needs more than the plain link below brings its own
# tests/wine/*.cmake; every other tests/wine/NAME_test.cpp becomes NAME_test.exe.
# A tests/wine/NAME_test.sh is sourced by the runner before the exe starts.
file(GLOB WINE_TEST_SCRIPTS CONFIGURE_DEPENDS ${VELMORA_WINE_DIR}/*.cmake)
foreach(script ${WINE_TEST_SCRIPTS})
  include(${script})
endforeach()
file(GLOB WINE_TESTS CONFIGURE_DEPENDS ${VELMORA_WINE_DIR}/*_test.cpp)
foreach(source ${WINE_TESTS})
  get_filename_component(name ${source} NAME_WE)
  if(TARGET ${name})
    continue()
  endif()
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${VELMORA_WIN32_LINK} gtest_main ${VELMORA_WIN32_LIBS})
  add_test(NAME ${name} COMMAND ${name})
endforeach()

get_property(wine_tests DIRECTORY PROPERTY TESTS)
list(REMOVE_ITEM wine_tests wine_prefix_create wine_prefix_stop)
if(wine_tests)
  set_tests_properties(${wine_tests} PROPERTIES
    FIXTURES_REQUIRED wine_prefix RESOURCE_LOCK wine_prefix TIMEOUT 600)
endif()

velmora_add_program(Update resources/update.rc)
velmora_add_program(Setup resources/setup.rc TEMPLATE 106)
