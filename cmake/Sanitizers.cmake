# AddressSanitizer and UndefinedBehaviorSanitizer for the whole build; any report aborts.
if(SCENE_SANITIZE)
  set(_scene_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_scene_san} -g)
  add_link_options(${_scene_san})
endif()

# With the fuzz targets, every library carries coverage counters, so that libFuzzer sees which
# paths of the readers an input reaches (a target's own file alone shows it almost nothing).
if(SCENE_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
