# scene_fuzz_test(<target> [SEEDS <folders>...])
# Registers the test fuzz.<target>: the fuzz target runs once on each input of its committed
# corpus, fuzz/corpus/<target>/ (minimised seeds and every reproducer found so far), and of the
# given read-only seed folders, with a time and a memory limit per input. Any crash, leak,
# timeout or sanitizer report fails it. The time limit per input is far above what any input
# takes alone (seconds at most), so that a loaded machine cannot turn a slow input into a
# failure; the campaign keeps its tighter limit to find slow inputs. Nothing is written into the
# source tree: libFuzzer adds no units when it only replays, and its artefacts go to a folder of
# the build tree. The long random campaign is tools/fuzz_campaign.sh.
function(scene_fuzz_test target)
  cmake_parse_arguments(ARG "" "" "SEEDS" ${ARGN})
  set(_artifacts "${PROJECT_BINARY_DIR}/fuzz-artifacts/${target}")
  file(MAKE_DIRECTORY "${_artifacts}")
  set(_folders "${PROJECT_SOURCE_DIR}/fuzz/corpus/${target}")
  foreach(_seeds ${ARG_SEEDS})
    if(IS_DIRECTORY "${_seeds}")
      list(APPEND _folders "${_seeds}")
    endif()
  endforeach()
  add_test(NAME fuzz.${target}
           COMMAND ${target} -runs=0 -seed=1 -timeout=60 -rss_limit_mb=2048
                   "-artifact_prefix=${_artifacts}/" ${_folders})
  set_tests_properties(fuzz.${target} PROPERTIES TIMEOUT 300)
endfunction()
