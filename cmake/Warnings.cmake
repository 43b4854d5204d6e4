# Warnings for every target. A result marked [[nodiscard]] is one the caller must test: ignoring
# it fails the build. So do the warnings each compiler offers for expressions whose result
# depends on the order of evaluation and for values read before they are written, since the two
# compilers evaluate a call's arguments in opposite orders and such faults pass the tests of one
# of them. Each flag is used only where the compiler knows it.
include(CheckCXXCompilerFlag)
add_compile_options(-Wall -Wextra -Werror=unused-result)
foreach(_flag sequence-point unsequenced uninitialized sometimes-uninitialized
              maybe-uninitialized dangling-gsl return-stack-address)
  string(MAKE_C_IDENTIFIER "SCENE_HAS_W_${_flag}" _known)
  check_cxx_compiler_flag("-W${_flag}" ${_known})
  if(${_known})
    add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Werror=${_flag}>)
  endif()
endforeach()
