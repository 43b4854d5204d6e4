# scene_compile_resources(<target> <manifest> <function> [GENERATED <name> <file>]...)
# Compiles the resources that a manifest lists into <target>. A generated source defines
# `const res::ResourceTable& <function>()` (platform/res/resource_table.h) and links the bytes
# of every listed file in read-only, so the program carries them without any file beside it.
#
# The manifest has one resource a line; lines starting with '#' and empty lines are skipped:
#   <type> <id> <language> <file>    type: a number, RT_ICON / RT_STRING / RT_RCDATA /
#                                    RT_GROUP_ICON, or a type name such as DDS; file relative
#                                    to the manifest's folder, or @<name>: a file the build
#                                    makes, given by GENERATED <name> <file> (a custom command's
#                                    output in the calling directory)
#   string <id> <language> <text>    a string-table entry: the rest of the line, UTF-8
function(scene_compile_resources target manifest function)
  cmake_parse_arguments(ARG "" "" "GENERATED" ${ARGN})
  set(_generated_names "")
  set(_generated_files "")
  list(LENGTH ARG_GENERATED _count)
  math(EXPR _odd "${_count} % 2")
  if(_odd)
    message(FATAL_ERROR "scene_compile_resources: GENERATED takes pairs of <name> <file>")
  endif()
  while(ARG_GENERATED)
    list(POP_FRONT ARG_GENERATED _name _file)
    list(APPEND _generated_names "${_name}")
    list(APPEND _generated_files "${_file}")
  endwhile()
  get_filename_component(_manifest "${manifest}" ABSOLUTE)
  get_filename_component(_base "${_manifest}" DIRECTORY)
  string(REGEX REPLACE "[^A-Za-z0-9]" "_" _prefix "scene_res_${function}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${_manifest}")

  file(READ "${_manifest}" _text)
  string(ASCII 1 _semi)
  string(REPLACE ";" "${_semi}" _text "${_text}")
  string(REPLACE "\r" "" _text "${_text}")
  string(REPLACE "\n" ";" _lines "${_text}")

  set(_asm "")
  set(_decls "")
  set(_resources "")
  set(_strings "")
  set(_files "")
  set(_n 0)
  set(_line_no 0)
  foreach(_line IN LISTS _lines)
    math(EXPR _line_no "${_line_no} + 1")
    string(STRIP "${_line}" _line)
    if(_line STREQUAL "" OR _line MATCHES "^#")
      continue()
    endif()
    if(NOT _line MATCHES "^([^ \t]+)[ \t]+([0-9]+)[ \t]+([0-9]+)[ \t]+(.+)$")
      message(FATAL_ERROR "${_manifest}:${_line_no}: expected '<type> <id> <language> <file>'")
    endif()
    set(_type "${CMAKE_MATCH_1}")
    set(_id "${CMAKE_MATCH_2}")
    set(_lang "${CMAKE_MATCH_3}")
    string(REPLACE "${_semi}" ";" _rest "${CMAKE_MATCH_4}")
    if(_id GREATER 65535 OR _lang GREATER 65535)
      message(FATAL_ERROR "${_manifest}:${_line_no}: id and language are 16-bit numbers")
    endif()

    if(_type STREQUAL "string")
      string(HEX "${_rest}" _hex)
      string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" _literal "${_hex}")
      string(APPEND _strings "  {${_id}, ${_lang}, \"${_literal}\"},\n")
      continue()
    endif()

    set(_type_id 0)
    set(_type_name "nullptr")
    if(_type MATCHES "^[0-9]+$")
      set(_type_id ${_type})
    elseif(_type STREQUAL "RT_ICON")
      set(_type_id 3)
    elseif(_type STREQUAL "RT_STRING")
      set(_type_id 6)
    elseif(_type STREQUAL "RT_RCDATA")
      set(_type_id 10)
    elseif(_type STREQUAL "RT_GROUP_ICON")
      set(_type_id 14)
    elseif(_type MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
      set(_type_name "u\"${_type}\"")
    else()
      message(FATAL_ERROR "${_manifest}:${_line_no}: bad resource type '${_type}'")
    endif()

    if(_rest MATCHES "^@(.+)$")
      list(FIND _generated_names "${CMAKE_MATCH_1}" _at)
      if(_at LESS 0)
        message(FATAL_ERROR "${_manifest}:${_line_no}: no generated file '${CMAKE_MATCH_1}'")
      endif()
      list(GET _generated_files ${_at} _file)
      target_sources(${target} PRIVATE "${_file}")
    else()
      get_filename_component(_file "${_rest}" ABSOLUTE BASE_DIR "${_base}")
      if(NOT EXISTS "${_file}")
        message(FATAL_ERROR "${_manifest}:${_line_no}: no file '${_file}'")
      endif()
    endif()
    if(_file MATCHES "[\"\\\\]")
      message(FATAL_ERROR "${_manifest}:${_line_no}: file names may not hold quotes or backslashes")
    endif()
    list(APPEND _files "${_file}")
    set(_sym "${_prefix}_${_n}")
    string(APPEND _asm
      "    \".globl ${_sym}\\n.hidden ${_sym}\\n.balign 16\\n${_sym}:\\n\"\n"
      "    \".incbin \\\"${_file}\\\"\\n\"\n"
      "    \".globl ${_sym}_end\\n.hidden ${_sym}_end\\n${_sym}_end:\\n\"\n")
    string(APPEND _decls "extern \"C\" const uint8_t ${_sym}[], ${_sym}_end[];\n")
    string(APPEND _resources "  {${_type_id}, ${_type_name}, ${_id}, ${_lang}, ${_sym}, ${_sym}_end},\n")
    math(EXPR _n "${_n} + 1")
  endforeach()

  set(_out "${CMAKE_CURRENT_BINARY_DIR}/${_prefix}.cpp")
  file(CONFIGURE OUTPUT "${_out}" @ONLY CONTENT [[
// Generated from @_manifest@ by scene_compile_resources; do not edit.
#include <cstdint>

#include "platform/res/resource_table.h"

__asm__(".pushsection .rodata,\"a\"\n"
@_asm@    ".popsection\n");

@_decls@
namespace {

// Each list ends with an empty entry that the counts leave out.
const res::TableResource kResources[] = {
@_resources@  {}};
const res::TableString kStrings[] = {
@_strings@  {}};

}  // namespace

const res::ResourceTable& @function@() {
  static const res::ResourceTable table{kResources, sizeof kResources / sizeof *kResources - 1,
                                        kStrings, sizeof kStrings / sizeof *kStrings - 1};
  return table;
}
]])
  target_sources(${target} PRIVATE "${_out}")
  # The compiler does not see the included files as inputs: name them.
  set_source_files_properties("${_out}" PROPERTIES OBJECT_DEPENDS "${_files}")
endfunction()
