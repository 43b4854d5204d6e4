# Test inputs of the platform tests: a resource manifest compiled into the test program, and a
# resource-only PE module built from the same files with the MinGW-w64 tools when they exist.
if(NOT TARGET test_platform)
  return()
endif()
set(_data ${PROJECT_SOURCE_DIR}/tests/platform/res/data)
scene_compile_resources(test_platform ${_data}/test_resources.manifest TestResourceTable)

find_program(SCENE_MINGW_WINDRES x86_64-w64-mingw32-windres)
find_program(SCENE_MINGW_LD x86_64-w64-mingw32-ld)
set(_dll "")
if(SCENE_MINGW_WINDRES AND SCENE_MINGW_LD)
  set(_dll ${CMAKE_CURRENT_BINARY_DIR}/test_module.dll)
  file(GLOB _inputs ${_data}/*.bin)
  add_custom_command(
    OUTPUT ${_dll}
    COMMAND ${SCENE_MINGW_WINDRES} ${_data}/test_module.rc -O coff -o ${CMAKE_CURRENT_BINARY_DIR}/test_module_rc.o
    COMMAND ${SCENE_MINGW_LD} -shared --entry=0 -o ${_dll} ${CMAKE_CURRENT_BINARY_DIR}/test_module_rc.o
    WORKING_DIRECTORY ${_data}
    DEPENDS ${_data}/test_module.rc ${_inputs}
    COMMENT "Building the test resource module")
  add_custom_target(test_platform_module DEPENDS ${_dll})
  add_dependencies(test_platform test_platform_module)
endif()
target_compile_definitions(test_platform PRIVATE SCENE_TEST_RESOURCE_DLL="${_dll}")
