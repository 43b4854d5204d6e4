# What the platform layer links: SDL2 (window, events, audio device) and SDL2_mixer (music and
# sounds), and the player's own resources compiled in from assets/resources.manifest.
find_package(SDL2 REQUIRED)
find_package(SDL2_mixer REQUIRED)
target_link_libraries(scene_platform PUBLIC SDL2::SDL2 SDL2_mixer::SDL2_mixer)

include(${PROJECT_SOURCE_DIR}/cmake/ResourceCompiler.cmake)
scene_compile_resources(scene_platform ${PROJECT_SOURCE_DIR}/assets/resources.manifest
                        res::OwnResourceTable)

# .x meshes are read with assimp (platform/gfx/mesh).
find_package(assimp REQUIRED)
target_link_libraries(scene_platform PRIVATE assimp::assimp)
