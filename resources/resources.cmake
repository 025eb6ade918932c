# Compiles resources/update.rc (the setup dialog, the icon, the version block
# and the manifest) into one object file, and links it into targets:
#
#   include(${CMAKE_SOURCE_DIR}/resources/resources.cmake)
#   velmora_add_resources(<target>)
#
# The resource compiler is run by a custom command rather than through
# CMake's RC language so that the files the script pulls in (the icon, the
# manifest, the ID header) are dependencies: CMake's own scan of an .rc
# follows only #include lines, and a new icon would not rebuild the object.
# The script declares its own encoding (UTF-8, by #pragma code_page), so no
# code page option is passed.
include_guard(GLOBAL)

if(CMAKE_RC_COMPILER)
  set(VELMORA_WINDRES "${CMAKE_RC_COMPILER}")
else()
  find_program(VELMORA_WINDRES NAMES i686-w64-mingw32-windres windres REQUIRED)
endif()

set(VELMORA_RESOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}")
set(VELMORA_RESOURCE_OBJECT "${CMAKE_BINARY_DIR}/resources/update_res.o")

add_custom_command(
  OUTPUT "${VELMORA_RESOURCE_OBJECT}"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/resources"
  COMMAND "${VELMORA_WINDRES}" -I "${VELMORA_RESOURCE_DIR}" -O coff
          -i "${VELMORA_RESOURCE_DIR}/update.rc" -o "${VELMORA_RESOURCE_OBJECT}"
  DEPENDS
    "${VELMORA_RESOURCE_DIR}/update.rc"
    "${VELMORA_RESOURCE_DIR}/resource_ids.h"
    "${VELMORA_RESOURCE_DIR}/update.manifest"
    "${VELMORA_RESOURCE_DIR}/icon/velmora.ico"
  COMMENT "Compiling resources/update.rc"
  VERBATIM)
# One rule that builds the object; every target that links it waits for it.
add_custom_target(velmora_resources DEPENDS "${VELMORA_RESOURCE_OBJECT}")

function(velmora_add_resources target)
  target_sources(${target} PRIVATE "${VELMORA_RESOURCE_OBJECT}")
  set_source_files_properties("${VELMORA_RESOURCE_OBJECT}" PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  add_dependencies(${target} velmora_resources)
endfunction()
