// The state setters and getters of the device: values are stored as given and read back
// unchanged; what the fixed-function uniforms depend on bumps its serial.
#include "platform/gfx/device.h"
#include "platform/gfx/shader_program.h"

namespace gfx {

HResult Device::SetRenderState(RenderState state, uint32_t value) {
  const uint32_t index = static_cast<uint32_t>(state);
  if (index >= kRenderStateCount) return kInvalidCall;
  state_.renderStates[index] = value;
  if (state == RenderState::Ambient) ++serials_.light;
  return kOk;
}

HResult Device::GetRenderState(RenderState state, uint32_t* value) const {
  const uint32_t index = static_cast<uint32_t>(state);
  if (!value || index >= kRenderStateCount) return kInvalidCall;
  *value = state_.renderStates[index];
  return kOk;
}

HResult Device::SetTextureStageState(uint32_t stage, TextureStageState type, uint32_t value) {
  const uint32_t index = static_cast<uint32_t>(type);
  if (stage >= kMaxTextureStages || index >= kStageStateCount) return kInvalidCall;
  state_.stageStates[stage][index] = value;
  if (type >= TextureStageState::BumpEnvMat00 && type <= TextureStageState::BumpEnvMat11)
    ++serials_.stage;
  return kOk;
}

HResult Device::GetTextureStageState(uint32_t stage, TextureStageState type,
                                     uint32_t* value) const {
  const uint32_t index = static_cast<uint32_t>(type);
  if (!value || stage >= kMaxTextureStages || index >= kStageStateCount) return kInvalidCall;
  *value = state_.stageStates[stage][index];
  return kOk;
}

HResult Device::SetSamplerState(uint32_t sampler, SamplerState type, uint32_t value) {
  const uint32_t index = static_cast<uint32_t>(type);
  if (sampler >= kMaxTextureStages || index >= kSamplerStateCount) return kInvalidCall;
  state_.samplerStates[sampler][index] = value;
  return kOk;
}

HResult Device::GetSamplerState(uint32_t sampler, SamplerState type, uint32_t* value) const {
  const uint32_t index = static_cast<uint32_t>(type);
  if (!value || sampler >= kMaxTextureStages || index >= kSamplerStateCount) return kInvalidCall;
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

HResult Device::SetTransform(TransformState state, const D3DXMATRIX* matrix) {
  D3DXMATRIX* slot = TransformSlot(state_, state);
  if (!slot || !matrix) return kInvalidCall;
  *slot = *matrix;
  if (state >= TransformState::Texture0 && state <= TransformState::Texture3) {
    ++serials_.stage;
  } else {
    ++serials_.transform;
    if (state == TransformState::View) ++serials_.light;  // lights turn with the view
  }
  return kOk;
}

HResult Device::GetTransform(TransformState state, D3DXMATRIX* matrix) const {
  const D3DXMATRIX* slot = TransformSlot(state_, state);
  if (!slot || !matrix) return kInvalidCall;
  *matrix = *slot;
  return kOk;
}

HResult Device::SetViewport(const Viewport* viewport) {
  if (!viewport || viewport->width == 0 || viewport->height == 0) return kInvalidCall;
  state_.viewport = *viewport;
  ++serials_.viewport;
  return kOk;
}

HResult Device::GetViewport(Viewport* viewport) const {
  if (!viewport) return kInvalidCall;
  *viewport = state_.viewport;
  return kOk;
}

HResult Device::SetLight(uint32_t index, const Light* light) {
  if (!light || index >= kMaxLights) return kInvalidCall;
  state_.lights[index] = *light;
  ++serials_.light;
  return kOk;
}

HResult Device::GetLight(uint32_t index, Light* light) const {
  if (!light || index >= kMaxLights) return kInvalidCall;
  *light = state_.lights[index];
  return kOk;
}

HResult Device::LightEnable(uint32_t index, bool enable) {
  if (index >= kMaxLights) return kInvalidCall;
  state_.lightEnabled[index] = enable;
  ++serials_.light;
  return kOk;
}

HResult Device::GetLightEnable(uint32_t index, bool* enable) const {
  if (!enable || index >= kMaxLights) return kInvalidCall;
  *enable = state_.lightEnabled[index];
  return kOk;
}

HResult Device::SetMaterial(const Material* material) {
  if (!material) return kInvalidCall;
  state_.material = *material;
  ++serials_.light;
  return kOk;
}

HResult Device::GetMaterial(Material* material) const {
  if (!material) return kInvalidCall;
  *material = state_.material;
  return kOk;
}

HResult Device::SetTexture(uint32_t stage, Texture* texture) {
  if (stage >= kMaxTextureStages) return kInvalidCall;
  textures_[stage] = ComPtr<Texture>::Copy(texture);
  return kOk;
}

HResult Device::GetTexture(uint32_t stage, Texture** texture) const {
  if (!texture || stage >= kMaxTextureStages) return kInvalidCall;
  *texture = ComPtr<Texture>(textures_[stage]).Detach();
  return kOk;
}

HResult Device::SetFVF(uint32_t fvf) {
  state_.fvf = fvf;
  return kOk;
}

HResult Device::GetFVF(uint32_t* fvf) const {
  if (!fvf) return kInvalidCall;
  *fvf = state_.fvf;
  return kOk;
}

HResult Device::SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset,
                                uint32_t stride) {
  if (stream != 0) return kInvalidCall;
  stream_ = ComPtr<VertexBuffer>::Copy(buffer);
  streamOffset_ = offset;
  streamStride_ = stride;
  return kOk;
}

HResult Device::GetStreamSource(uint32_t stream, VertexBuffer** buffer, uint32_t* offset,
                                uint32_t* stride) const {
  if (!buffer || !offset || !stride || stream != 0) return kInvalidCall;
  *buffer = ComPtr<VertexBuffer>(stream_).Detach();
  *offset = streamOffset_;
  *stride = streamStride_;
  return kOk;
}

HResult Device::SetIndices(IndexBuffer* indices) {
  indices_ = ComPtr<IndexBuffer>::Copy(indices);
  return kOk;
}

HResult Device::GetIndices(IndexBuffer** indices) const {
  if (!indices) return kInvalidCall;
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
