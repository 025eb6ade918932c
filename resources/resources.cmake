# Compiles a resource script of this folder (update.rc unless another is named)
# into one object file, and links it into targets:
#
#   include(${CMAKE_SOURCE_DIR}/resources/resources.cmake)
#   velmora_add_resources(<target>)              # update.rc, as Update.exe
#   velmora_add_resources(<target> setup.rc)     # as Setup.exe
#
# The resource compiler is run by a custom command rather than through
# CMake's RC language so that the files the script pulls in (common.rc, the
# icon, the manifest, the ID header) are dependencies: CMake's own scan of an
# .rc follows only #include lines, and a new icon would not rebuild the
# object. The script declares its own encoding (UTF-8, by #pragma code_page),
# so no code page option is passed.
include_guard(GLOBAL)

if(CMAKE_RC_COMPILER)
  set(VELMORA_WINDRES "${CMAKE_RC_COMPILER}")
else()
  find_program(VELMORA_WINDRES NAMES i686-w64-mingw32-windres windres REQUIRED)
endif()

set(VELMORA_RESOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}")

# What every script of the folder includes or embeds.
set(VELMORA_RESOURCE_INPUTS
  "${VELMORA_RESOURCE_DIR}/common.rc"
  "${VELMORA_RESOURCE_DIR}/resource_ids.h"
  "${VELMORA_RESOURCE_DIR}/velmora.manifest"
  "${VELMORA_RESOURCE_DIR}/icon/velmora.ico")

# The object of one script, made by one rule (target velmora_resources for
# update.rc, velmora_resources_<name> for the others) that every target
# linking it waits for.
function(_velmora_resource_object script object_var target_var)
  get_filename_component(name "${script}" NAME_WE)
  if(name STREQUAL "update")
    set(rule velmora_resources)
  else()
    set(rule velmora_resources_${name})
  endif()
  set(object "${CMAKE_BINARY_DIR}/resources/${name}_res.o")
  if(NOT TARGET ${rule})
    add_custom_command(
      OUTPUT "${object}"
      COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/resources"
      COMMAND "${VELMORA_WINDRES}" -I "${VELMORA_RESOURCE_DIR}" -O coff
              -i "${VELMORA_RESOURCE_DIR}/${script}" -o "${object}"
      DEPENDS "${VELMORA_RESOURCE_DIR}/${script}" ${VELMORA_RESOURCE_INPUTS}
      COMMENT "Compiling resources/${script}"
      VERBATIM)
    add_custom_target(${rule} DEPENDS "${object}")
  endif()
  set(${object_var} "${object}" PARENT_SCOPE)
  set(${target_var} ${rule} PARENT_SCOPE)
endfunction()

function(velmora_add_resources target)
  set(script update.rc)
  if(ARGC GREATER 1)
    set(script "${ARGV1}")
  endif()
  _velmora_resource_object("${script}" object rule)
  target_sources(${target} PRIVATE "${object}")
  set_source_files_properties("${object}" PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  add_dependencies(${target} ${rule})
endfunction()
