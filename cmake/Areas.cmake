# scene_area(<target> <dir> [EXCLUDE <subdirs>...] [DEPENDS <targets>...])
# A static library of every .cpp below <dir> except those below the excluded subfolders (given
# from the project root); an interface library while the area is still empty.
function(scene_area target dir)
  cmake_parse_arguments(ARG "" "" "EXCLUDE;DEPENDS" ${ARGN})
  file(GLOB_RECURSE _sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${dir}/*.cpp")
  foreach(_excluded ${ARG_EXCLUDE})
    list(FILTER _sources EXCLUDE REGEX "^${PROJECT_SOURCE_DIR}/${_excluded}/")
  endforeach()
  if(_sources)
    add_library(${target} STATIC ${_sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${ARG_DEPENDS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_DEPENDS})
  endif()
endfunction()

# scene_tests(<dir> <libraries>...)
# One GoogleTest executable of every *_test.cpp below tests/<dir>, registered with CTest.
function(scene_tests dir)
  file(GLOB_RECURSE _sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/tests/${dir}/*_test.cpp")
  if(NOT _sources)
    return()
  endif()
  string(REPLACE "/" "_" _name "${dir}")
  add_executable(test_${_name} ${_sources} ${PROJECT_SOURCE_DIR}/tests/sanitizer_defaults.cpp)
  target_link_libraries(test_${_name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main)
  target_include_directories(test_${_name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(test_${_name} PRIVATE
    SCENE_TESTDATA_DIR="${PROJECT_SOURCE_DIR}/../shared/testdata"
    SCENE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(test_${_name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
endfunction()

# scene_benchmarks(<dir> <libraries>...)
# One Google Benchmark program per bench/<dir>/*_bench.cpp, linked with the given libraries.
function(scene_benchmarks dir)
  file(GLOB _sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/bench/${dir}/*_bench.cpp")
  foreach(_src ${_sources})
    get_filename_component(_name ${_src} NAME_WE)
    add_executable(${_name} ${_src})
    target_link_libraries(${_name} PRIVATE ${ARGN} benchmark::benchmark benchmark::benchmark_main)
    # The tests' builders of data (pictures, projects) serve the benchmarks as well.
    target_include_directories(${_name} PRIVATE ${PROJECT_SOURCE_DIR}/bench
                                                ${PROJECT_SOURCE_DIR}/tests)
  endforeach()
endfunction()
