#pragma once

#include <array>
#include <cstdint>

#include "platform/gfx/descs.h"
#include "platform/gfx/states.h"
#include "platform/math/d3dx_types.h"

namespace gfx {

// Every value the device keeps that Set*/Get* reach, apart from the bound objects. Starts with
// the Direct3D 9 defaults (lighting on, culling CCW, z test LESSEQUAL, stage 0 MODULATE, ...).
struct DeviceState {
  std::array<uint32_t, kRenderStateCount> renderStates{};
  std::array<std::array<uint32_t, kStageStateCount>, kMaxTextureStages> stageStates{};
  std::array<std::array<uint32_t, kSamplerStateCount>, kMaxTextureStages> samplerStates{};
  D3DXMATRIX world, view, projection;
  std::array<D3DXMATRIX, kMaxTextureStages> texture;
  uint32_t fvf = 0;
  Viewport viewport;
  Material material;
  std::array<Light, kMaxLights> lights{};
  std::array<bool, kMaxLights> lightEnabled{};

  static DeviceState Defaults();

  uint32_t Get(RenderState s) const { return renderStates[static_cast<uint32_t>(s)]; }
  uint32_t Get(int stage, TextureStageState s) const {
    return stageStates[stage][static_cast<uint32_t>(s)];
  }
  uint32_t Get(int sampler, SamplerState s) const {
    return samplerStates[sampler][static_cast<uint32_t>(s)];
  }
};

}  // namespace gfx
