#include "platform/gfx/device_state.h"

#include "platform/math/d3dx_math.h"

namespace gfx {

DeviceState DeviceState::Defaults() {
  DeviceState s;
  auto rs = [&](RenderState state, uint32_t v) { s.renderStates[uint32_t(state)] = v; };
  rs(RenderState::ZEnable, ZBuffer::True);
  rs(RenderState::ShadeMode, ShadeMode::Gouraud);
  rs(RenderState::ZWriteEnable, 1);
  rs(RenderState::SrcBlend, Blend::One);
  rs(RenderState::DestBlend, Blend::Zero);
  rs(RenderState::CullMode, Cull::CCW);
  rs(RenderState::ZFunc, Cmp::LessEqual);
  rs(RenderState::Lighting, 1);
  rs(RenderState::ColorWriteEnable, ColorWrite::All);
  rs(RenderState::BlendOp, BlendOp::Add);
  rs(RenderState::BlendFactor, 0xFFFFFFFF);

  for (int i = 0; i < kMaxTextureStages; ++i) {
    auto ts = [&](TextureStageState state, uint32_t v) { s.stageStates[i][uint32_t(state)] = v; };
    ts(TextureStageState::ColorOp, i == 0 ? TextureOp::Modulate : TextureOp::Disable);
    ts(TextureStageState::ColorArg1, TextureArg::Texture);
    ts(TextureStageState::ColorArg2, TextureArg::Current);
    ts(TextureStageState::AlphaOp, i == 0 ? TextureOp::SelectArg1 : TextureOp::Disable);
    ts(TextureStageState::AlphaArg1, TextureArg::Texture);
    ts(TextureStageState::AlphaArg2, TextureArg::Current);
    ts(TextureStageState::TexCoordIndex, static_cast<uint32_t>(i));

    auto ss = [&](SamplerState state, uint32_t v) { s.samplerStates[i][uint32_t(state)] = v; };
    ss(SamplerState::AddressU, TextureAddress::Wrap);
    ss(SamplerState::AddressV, TextureAddress::Wrap);
    ss(SamplerState::AddressW, TextureAddress::Wrap);
    ss(SamplerState::MagFilter, TextureFilter::Point);
    ss(SamplerState::MinFilter, TextureFilter::Point);
    ss(SamplerState::MipFilter, TextureFilter::None);
    D3DXMatrixIdentity(&s.texture[i]);
  }
  D3DXMatrixIdentity(&s.world);
  D3DXMatrixIdentity(&s.view);
  D3DXMatrixIdentity(&s.projection);
  for (Light& light : s.lights) {
    light.diffuse = {1, 1, 1, 0};
    light.direction = {0, 0, 1};
  }
  return s;
}

}  // namespace gfx
