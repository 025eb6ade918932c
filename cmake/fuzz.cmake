# libFuzzer targets: the logic and the sim built with clang, coverage,
# AddressSanitizer and UndefinedBehaviorSanitizer; one program per
# tests/fuzz/NAME_fuzz.cpp. Included last by the top CMakeLists.txt, after the
# host build's targets exist; does nothing unless VELMORA_FUZZ is on (the fuzz
# preset).
#
# clang 14 accepts no execution charset but UTF-8. Rather than let the
# Japanese literals become UTF-8 bytes (other lengths, and lead bytes that
# would swallow a following backslash), every source of these targets is
# compiled from a copy whose non-ASCII text is already CP932, written as octal
# escapes (tests/fuzz/cp932_escape.sh): the same bytes g++ gives the literals.

option(VELMORA_FUZZ "libFuzzer targets (clang)" OFF)
if(NOT VELMORA_FUZZ)
  return()
endif()
if(WIN32 OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "VELMORA_FUZZ needs clang++ on the host (libFuzzer)")
endif()

set(VELMORA_CP932_DIR ${CMAKE_BINARY_DIR}/cp932)
set(VELMORA_CP932_SCRIPT ${CMAKE_SOURCE_DIR}/tests/fuzz/cp932_escape.sh)

# The CP932 copy of each source; the copies' paths go into `out`.
function(velmora_cp932_copies out)
  set(copies)
  foreach(source ${ARGN})
    file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${source})
    set(copy ${VELMORA_CP932_DIR}/${rel})
    add_custom_command(OUTPUT ${copy}
      COMMAND sh ${VELMORA_CP932_SCRIPT} ${source} ${copy}
      DEPENDS ${source} ${VELMORA_CP932_SCRIPT}
      VERBATIM)
    list(APPEND copies ${copy})
  endforeach()
  set(${out} ${copies} PARENT_SCOPE)
endfunction()

# Headers are copied too and found first, so that their literals match as well.
file(GLOB_RECURSE FUZZ_HEADERS CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/shell/*.h ${CMAKE_SOURCE_DIR}/engine/*.h
  ${CMAKE_SOURCE_DIR}/ui/*.h ${CMAKE_SOURCE_DIR}/platform/*.h
  ${CMAKE_SOURCE_DIR}/tests/fuzz/*.h)
list(FILTER FUZZ_HEADERS EXCLUDE REGEX ".*/platform/win32/.*")
velmora_cp932_copies(fuzz_header_copies ${FUZZ_HEADERS})
velmora_cp932_copies(fuzz_core_copies ${CORE_SOURCES})
velmora_cp932_copies(fuzz_sim_copies ${SIM_SOURCES})

set(VELMORA_FUZZ_FLAGS -gline-tables-only -O1 -fno-omit-frame-pointer -fno-sanitize-recover=all)

# Drops the tree's -fexec-charset=CP932, which clang refuses, from a target.
function(velmora_fuzz_options target)
  get_target_property(options ${target} COMPILE_OPTIONS)
  list(REMOVE_ITEM options -fexec-charset=CP932)
  set_target_properties(${target} PROPERTIES COMPILE_OPTIONS "${options}")
  target_include_directories(${target} BEFORE PRIVATE ${VELMORA_CP932_DIR})
  target_compile_options(${target} PRIVATE ${VELMORA_FUZZ_FLAGS})
endfunction()

add_library(fuzz_core STATIC ${fuzz_core_copies} ${fuzz_header_copies})
add_library(fuzz_sim STATIC ${fuzz_sim_copies})
foreach(lib fuzz_core fuzz_sim)
  velmora_fuzz_options(${lib})
  target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
endforeach()
target_link_libraries(fuzz_sim PUBLIC Threads::Threads)

# The host build's own targets keep their g++-only option: left out of this tree.
set_target_properties(velmora_core platform_sim host_tests PROPERTIES EXCLUDE_FROM_ALL ON)

file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
add_custom_target(fuzz_targets)
foreach(source ${FUZZ_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  velmora_cp932_copies(copy ${source})
  add_executable(${name} ${copy})
  velmora_fuzz_options(${name})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  # The core and the sim call each other; link them as a group.
  target_link_libraries(${name} PRIVATE
    -Wl,--start-group fuzz_core fuzz_sim -Wl,--end-group Threads::Threads)
  add_dependencies(fuzz_targets ${name})
endforeach()

# The install, the uninstall and the Start-menu entries are taken in by the
# paths target once their sources are in the tree; before, it would not link.
set(install_sources engine/install.cpp engine/uninstall.cpp engine/shortcuts.cpp)
set(have_install ON)
foreach(source ${install_sources})
  if(NOT EXISTS ${CMAKE_SOURCE_DIR}/${source})
    set(have_install OFF)
  endif()
endforeach()
if(have_install AND TARGET paths_fuzz)
  target_compile_definitions(paths_fuzz PRIVATE VELMORA_FUZZ_INSTALL)
endif()
