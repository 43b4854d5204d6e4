# AddressSanitizer and UndefinedBehaviorSanitizer for the whole build; any report aborts.
if(SCENE_SANITIZE)
  set(_scene_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_scene_san} -g)
  add_link_options(${_scene_san})
endif()
