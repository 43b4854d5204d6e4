# What the platform layer links: SDL2 (window, events, audio device) and SDL2_mixer (music and
# sounds), and the player's own resources compiled in from assets/resources.manifest.
find_package(SDL2 REQUIRED)
find_package(SDL2_mixer REQUIRED)
target_link_libraries(scene_platform PUBLIC SDL2::SDL2 SDL2_mixer::SDL2_mixer)

# Pictures: JPEG through libjpeg-turbo and PNG through libpng, both security-maintained; the
# other formats through stb_image (platform/gfx/image/picture_decoder.cpp).
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
target_link_libraries(scene_platform PUBLIC JPEG::JPEG PNG::PNG)

# The own resources are a library of their own. Among them is the demo project, which a program
# built from these very libraries writes at build time (CMakeLists.txt): that program sets the
# target property SCENE_NO_OWN_RESOURCES and brings an empty table instead, so that it does not
# depend on its own output. Only programs link the resources; libraries need not wait for them.
include(${PROJECT_SOURCE_DIR}/cmake/ResourceCompiler.cmake)
set(SCENE_DEMO_PROJECT ${PROJECT_BINARY_DIR}/assets/demo_project.bin)
# The picture packs of the demo's animated glyphs, drawn by text_art (one per letter of
# kDemoGlyphLine in tools/project_writer/demo_text.h).
set(SCENE_DEMO_TEXT_ART_DIR ${PROJECT_BINARY_DIR}/assets/text_art)
set(SCENE_DEMO_GLYPH_PACKS "")
set(_glyph_resources "")
foreach(_i RANGE 3)
  list(APPEND SCENE_DEMO_GLYPH_PACKS ${SCENE_DEMO_TEXT_ART_DIR}/demo_glyph_${_i}.pack)
  list(APPEND _glyph_resources demo_glyph_${_i} ${SCENE_DEMO_TEXT_ART_DIR}/demo_glyph_${_i}.pack)
endforeach()
add_library(scene_own_resources STATIC)
target_include_directories(scene_own_resources PRIVATE ${PROJECT_SOURCE_DIR})
scene_compile_resources(scene_own_resources ${PROJECT_SOURCE_DIR}/assets/resources.manifest
                        res::OwnResourceTable GENERATED demo_project ${SCENE_DEMO_PROJECT}
                        ${_glyph_resources})
set(_links_own_resources "$<AND:$<NOT:$<BOOL:$<TARGET_PROPERTY:SCENE_NO_OWN_RESOURCES>>>,\
$<NOT:$<STREQUAL:$<TARGET_PROPERTY:TYPE>,STATIC_LIBRARY>>>")
target_link_libraries(scene_platform PUBLIC "$<${_links_own_resources}:scene_own_resources>")

# .x meshes are read with assimp in a program of their own, which the loader (platform/gfx/mesh)
# starts for each mesh, so that damaged data can crash or hang only that program. It is built
# with the platform layer, next to the player; the loader looks for it next to the running
# program, then at its build path (for tests and fuzz targets).
find_package(assimp REQUIRED)
file(GLOB _x_reader_sources CONFIGURE_DEPENDS
     "${PROJECT_SOURCE_DIR}/platform/gfx/mesh/x_reader/*.cpp")
add_executable(scene_x_reader ${_x_reader_sources} ${PROJECT_SOURCE_DIR}/platform/gfx/mesh/x_reply.cpp)
target_include_directories(scene_x_reader PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(scene_x_reader PRIVATE scene_math assimp::assimp)
set_target_properties(scene_x_reader PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
add_dependencies(scene_platform scene_x_reader)
target_compile_definitions(scene_platform
                           PRIVATE SCENE_X_READER_BUILD_PATH="$<TARGET_FILE:scene_x_reader>")
