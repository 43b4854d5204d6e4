#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/gfx/device_state.h"
#include "platform/gfx/fvf.h"

namespace gfx {

// What decides the generated GLSL of a fixed-function draw: the vertex layout, the lighting
// switches and each stage's operations, arguments and coordinate source. Two draws with equal
// keys share one program; everything else is a uniform.
struct FfKey {
  struct Stage {
    uint8_t colorOp = 0, colorArg1 = 0, colorArg2 = 0;
    uint8_t alphaOp = 0, alphaArg1 = 0, alphaArg2 = 0;
    uint8_t coordSet = 0;
    uint8_t cameraSpacePosition = 0;
    uint8_t transform = 0;
    uint8_t textured = 0;
    bool operator==(const Stage&) const = default;
  };
  uint8_t pretransformed = 0;
  uint8_t hasNormal = 0, hasDiffuse = 0, hasSpecular = 0;
  uint8_t texSets = 0;
  std::array<uint8_t, kMaxTexCoordSets> texComponents{};
  uint8_t lighting = 0, specular = 0, normalize = 0, flat = 0;
  uint8_t stageCount = 0;  // stages before the first disabled colour operation
  std::array<Stage, kMaxTextureStages> stages{};

  // `textured` has bit i set when stage i has a texture.
  static FfKey Make(const DeviceState& state, const FvfLayout& layout, uint32_t textured);

  // The key without what only the fragment stage uses: enough to choose a vertex stage for a
  // shader program (whose outputs are never flat).
  FfKey VertexPart() const;

  bool operator==(const FfKey&) const = default;
};

struct FfKeyHash {
  size_t operator()(const FfKey& key) const;
};

// Names shared by the generated vertex stage and the fragment stages written against it:
// attributes at fixed locations, the outputs gfx_Diffuse, gfx_Specular and gfx_TexCoord0..3
// (one per texture stage, after coordinate index and texture transform).
inline constexpr int kAttribPosition = 0;
inline constexpr int kAttribNormal = 1;
inline constexpr int kAttribDiffuse = 2;
inline constexpr int kAttribSpecular = 3;
inline constexpr int kAttribTexCoord0 = 4;

std::string GenerateFfVertexShader(const FfKey& key);
std::string GenerateFfFragmentShader(const FfKey& key);

}  // namespace gfx
