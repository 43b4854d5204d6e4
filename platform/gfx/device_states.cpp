// The state setters and getters of the device: values are stored as given and read back
// unchanged; what the fixed-function uniforms depend on bumps its serial.
#include <string>

#include "platform/gfx/device.h"
#include "platform/gfx/shader_program.h"

namespace gfx {

namespace {

constexpr char kNoPlace[] = "no place for the answer";
constexpr char kOnlyStream0[] = "only stream 0 exists";

std::string UnknownState(uint32_t index) {
  return "state " + std::to_string(index) + " is not known";
}
std::string NoStage(uint32_t stage) {
  return "stage " + std::to_string(stage) + " does not exist (there are " +
         std::to_string(kMaxTextureStages) + ")";
}
std::string NoLight(uint32_t index) {
  return "light " + std::to_string(index) + " does not exist (there are " +
         std::to_string(kMaxLights) + ")";
}

}  // namespace

HResult Device::SetRenderState(RenderState state, uint32_t value, CallSite site) {
  const uint32_t index = static_cast<uint32_t>(state);
  if (index >= kRenderStateCount)
    return Refuse(kInvalidCall, site, "SetRenderState", [&] { return UnknownState(index); });
  state_.renderStates[index] = value;
  if (state == RenderState::Ambient) ++serials_.light;
  return kOk;
}

HResult Device::GetRenderState(RenderState state, uint32_t* value, CallSite site) const {
  const uint32_t index = static_cast<uint32_t>(state);
  if (!value) return Refuse(kInvalidCall, site, "GetRenderState", kNoPlace);
  if (index >= kRenderStateCount)
    return Refuse(kInvalidCall, site, "GetRenderState", [&] { return UnknownState(index); });
  *value = state_.renderStates[index];
  return kOk;
}

HResult Device::SetTextureStageState(uint32_t stage, TextureStageState type, uint32_t value,
                                     CallSite site) {
  const uint32_t index = static_cast<uint32_t>(type);
  if (stage >= kMaxTextureStages)
    return Refuse(kInvalidCall, site, "SetTextureStageState", [&] { return NoStage(stage); });
  if (index >= kStageStateCount)
    return Refuse(kInvalidCall, site, "SetTextureStageState", [&] { return UnknownState(index); });
  state_.stageStates[stage][index] = value;
  if (type >= TextureStageState::BumpEnvMat00 && type <= TextureStageState::BumpEnvMat11)
    ++serials_.stage;
  return kOk;
}

HResult Device::GetTextureStageState(uint32_t stage, TextureStageState type, uint32_t* value,
                                     CallSite site) const {
  const uint32_t index = static_cast<uint32_t>(type);
  if (!value) return Refuse(kInvalidCall, site, "GetTextureStageState", kNoPlace);
  if (stage >= kMaxTextureStages)
    return Refuse(kInvalidCall, site, "GetTextureStageState", [&] { return NoStage(stage); });
  if (index >= kStageStateCount)
    return Refuse(kInvalidCall, site, "GetTextureStageState", [&] { return UnknownState(index); });
  *value = state_.stageStates[stage][index];
  return kOk;
}

HResult Device::SetSamplerState(uint32_t sampler, SamplerState type, uint32_t value,
                                CallSite site) {
  const uint32_t index = static_cast<uint32_t>(type);
  if (sampler >= kMaxTextureStages)
    return Refuse(kInvalidCall, site, "SetSamplerState", [&] { return NoStage(sampler); });
  if (index >= kSamplerStateCount)
    return Refuse(kInvalidCall, site, "SetSamplerState", [&] { return UnknownState(index); });
  state_.samplerStates[sampler][index] = value;
  return kOk;
}

HResult Device::GetSamplerState(uint32_t sampler, SamplerState type, uint32_t* value,
                                CallSite site) const {
  const uint32_t index = static_cast<uint32_t>(type);
  if (!value) return Refuse(kInvalidCall, site, "GetSamplerState", kNoPlace);
  if (sampler >= kMaxTextureStages)
    return Refuse(kInvalidCall, site, "GetSamplerState", [&] { return NoStage(sampler); });
  if (index >= kSamplerStateCount)
    return Refuse(kInvalidCall, site, "GetSamplerState", [&] { return UnknownState(index); });
  *value = state_.samplerStates[sampler][index];
  return kOk;
}

namespace {

// The slot of a transform state, or null for one the device does not keep.
template <typename State>
auto* TransformSlot(State& s, TransformState t) {
  switch (t) {
    case TransformState::World:
      return &s.world;
    case TransformState::View:
      return &s.view;
    case TransformState::Projection:
      return &s.projection;
    case TransformState::Texture0:
    case TransformState::Texture1:
    case TransformState::Texture2:
    case TransformState::Texture3:
      return &s.texture[uint32_t(t) - uint32_t(TransformState::Texture0)];
  }
  return static_cast<decltype(&s.world)>(nullptr);
}

}  // namespace

HResult Device::SetTransform(TransformState state, const D3DXMATRIX* matrix, CallSite site) {
  D3DXMATRIX* slot = TransformSlot(state_, state);
  if (!matrix) return Refuse(kInvalidCall, site, "SetTransform", "no matrix");
  if (!slot) {
    return Refuse(kInvalidCall, site, "SetTransform",
                  [&] { return "transform " + std::to_string(uint32_t(state)) + " is not kept"; });
  }
  *slot = *matrix;
  if (state >= TransformState::Texture0 && state <= TransformState::Texture3) {
    ++serials_.stage;
  } else {
    ++serials_.transform;
    if (state == TransformState::View) ++serials_.light;  // lights turn with the view
  }
  return kOk;
}

HResult Device::GetTransform(TransformState state, D3DXMATRIX* matrix, CallSite site) const {
  const D3DXMATRIX* slot = TransformSlot(state_, state);
  if (!matrix) return Refuse(kInvalidCall, site, "GetTransform", kNoPlace);
  if (!slot) {
    return Refuse(kInvalidCall, site, "GetTransform",
                  [&] { return "transform " + std::to_string(uint32_t(state)) + " is not kept"; });
  }
  *matrix = *slot;
  return kOk;
}

HResult Device::SetViewport(const Viewport* viewport, CallSite site) {
  if (!viewport) return Refuse(kInvalidCall, site, "SetViewport", "no viewport");
  if (viewport->width == 0 || viewport->height == 0) {
    return Refuse(kInvalidCall, site, "SetViewport", [&] {
      return "an empty viewport of " + std::to_string(viewport->width) + " x " +
             std::to_string(viewport->height);
    });
  }
  state_.viewport = *viewport;
  ++serials_.viewport;
  return kOk;
}

HResult Device::GetViewport(Viewport* viewport, CallSite site) const {
  if (!viewport) return Refuse(kInvalidCall, site, "GetViewport", kNoPlace);
  *viewport = state_.viewport;
  return kOk;
}

HResult Device::SetLight(uint32_t index, const Light* light, CallSite site) {
  if (!light) return Refuse(kInvalidCall, site, "SetLight", "no light");
  if (index >= kMaxLights)
    return Refuse(kInvalidCall, site, "SetLight", [&] { return NoLight(index); });
  state_.lights[index] = *light;
  ++serials_.light;
  return kOk;
}

HResult Device::GetLight(uint32_t index, Light* light, CallSite site) const {
  if (!light) return Refuse(kInvalidCall, site, "GetLight", kNoPlace);
  if (index >= kMaxLights)
    return Refuse(kInvalidCall, site, "GetLight", [&] { return NoLight(index); });
  *light = state_.lights[index];
  return kOk;
}

HResult Device::LightEnable(uint32_t index, bool enable, CallSite site) {
  if (index >= kMaxLights)
    return Refuse(kInvalidCall, site, "LightEnable", [&] { return NoLight(index); });
  state_.lightEnabled[index] = enable;
  ++serials_.light;
  return kOk;
}

HResult Device::GetLightEnable(uint32_t index, bool* enable, CallSite site) const {
  if (!enable) return Refuse(kInvalidCall, site, "GetLightEnable", kNoPlace);
  if (index >= kMaxLights)
    return Refuse(kInvalidCall, site, "GetLightEnable", [&] { return NoLight(index); });
  *enable = state_.lightEnabled[index];
  return kOk;
}

HResult Device::SetMaterial(const Material* material, CallSite site) {
  if (!material) return Refuse(kInvalidCall, site, "SetMaterial", "no material");
  state_.material = *material;
  ++serials_.light;
  return kOk;
}

HResult Device::GetMaterial(Material* material, CallSite site) const {
  if (!material) return Refuse(kInvalidCall, site, "GetMaterial", kNoPlace);
  *material = state_.material;
  return kOk;
}

HResult Device::SetTexture(uint32_t stage, Texture* texture, CallSite site) {
  if (stage >= kMaxTextureStages)
    return Refuse(kInvalidCall, site, "SetTexture", [&] { return NoStage(stage); });
  textures_[stage] = ComPtr<Texture>::Copy(texture);
  return kOk;
}

HResult Device::GetTexture(uint32_t stage, Texture** texture, CallSite site) const {
  if (!texture) return Refuse(kInvalidCall, site, "GetTexture", kNoPlace);
  if (stage >= kMaxTextureStages)
    return Refuse(kInvalidCall, site, "GetTexture", [&] { return NoStage(stage); });
  *texture = ComPtr<Texture>(textures_[stage]).Detach();
  return kOk;
}

HResult Device::SetFVF(uint32_t fvf) {
  state_.fvf = fvf;
  return kOk;
}

HResult Device::GetFVF(uint32_t* fvf, CallSite site) const {
  if (!fvf) return Refuse(kInvalidCall, site, "GetFVF", kNoPlace);
  *fvf = state_.fvf;
  return kOk;
}

HResult Device::SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset,
                                uint32_t stride, CallSite site) {
  if (stream != 0) return Refuse(kInvalidCall, site, "SetStreamSource", kOnlyStream0);
  stream_ = ComPtr<VertexBuffer>::Copy(buffer);
  streamOffset_ = offset;
  streamStride_ = stride;
  return kOk;
}

HResult Device::GetStreamSource(uint32_t stream, VertexBuffer** buffer, uint32_t* offset,
                                uint32_t* stride, CallSite site) const {
  if (!buffer || !offset || !stride) return Refuse(kInvalidCall, site, "GetStreamSource", kNoPlace);
  if (stream != 0) return Refuse(kInvalidCall, site, "GetStreamSource", kOnlyStream0);
  *buffer = ComPtr<VertexBuffer>(stream_).Detach();
  *offset = streamOffset_;
  *stride = streamStride_;
  return kOk;
}

HResult Device::SetIndices(IndexBuffer* indices) {
  indices_ = ComPtr<IndexBuffer>::Copy(indices);
  return kOk;
}

HResult Device::GetIndices(IndexBuffer** indices, CallSite site) const {
  if (!indices) return Refuse(kInvalidCall, site, "GetIndices", kNoPlace);
  *indices = ComPtr<IndexBuffer>(indices_).Detach();
  return kOk;
}

HResult Device::SetVertexShader(std::nullptr_t) {
  fixedVertexStage_ = true;
  return kOk;
}

HResult Device::SetShaderProgram(ShaderProgram* program) {
  program_ = ComPtr<ShaderProgram>::Copy(program);
  fixedVertexStage_ = false;
  return kOk;
}

}  // namespace gfx
