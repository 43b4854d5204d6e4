#include "platform/gfx/effect/effect.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gfx/effect/effect_glsl.h"
#include "platform/gfx/effect/effect_parser.h"

namespace gfx {

namespace {

const EffectCodeDesc* FindCode(const EffectDesc& desc, const std::string& name,
                               EffectCodeDesc::Stage stage) {
  for (const EffectCodeDesc& c : desc.code)
    if (c.name == name && c.stage == stage) return &c;
  return nullptr;
}

// A 1 x 1 texture of the colour an unset sampler reads.
ComPtr<Texture> SolidTexture(Device* device, const std::array<float, 4>& rgba) {
  ComPtr<Texture> t;
  if (Failed(device->CreateTexture(1, 1, 1, 0, Format::A8R8G8B8, Pool::Managed, t.Put())))
    return nullptr;
  auto byte = [](float f) { return uint8_t(std::lround(std::clamp(f, 0.0f, 1.0f) * 255.0f)); };
  const uint8_t bgra[4] = {byte(rgba[2]), byte(rgba[1]), byte(rgba[0]), byte(rgba[3])};
  LockedRect r;
  if (Failed(t->LockRect(0, &r, nullptr, 0))) return nullptr;
  std::memcpy(r.bits, bgra, 4);
  t->UnlockRect(0);
  return t;
}

}  // namespace

HResult Effect::Create(Device* device, std::string_view name, std::string_view text, Effect** out,
                       std::string* errors) {
  if (!out) return kInvalidCall;
  *out = nullptr;
  if (!device) return kInvalidCall;
  std::string error;
  const auto desc = ParseEffect(name, text, &error);
  if (!desc) {
    if (errors) *errors = error + "\n";
    return kFail;
  }
  auto effect = ComPtr<Effect>::Attach(new Effect(device, name));
  if (const HResult hr = effect->Build(*desc, errors); Failed(hr)) return hr;
  *out = effect.Detach();
  return kOk;
}

Effect::Effect(Device* device, std::string_view name)
    : device_(ComPtr<Device>::Copy(device)), name_(name) {}

HResult Effect::Build(const EffectDesc& desc, std::string* errors) {
  for (const EffectParamDesc& p : desc.parameters) {
    parameterIndex_.emplace(p.name, int(parameters_.size()));
    if (!p.secondName.empty()) parameterIndex_.emplace(p.secondName, int(parameters_.size()));
    parameters_.push_back({p, nullptr, 1});
  }
  for (const EffectSamplerDesc& s : desc.samplers) {
    Sampler sampler{s, FindParameter(s.texture.c_str()), SolidTexture(device_.Get(), s.unset)};
    if (!sampler.unset) return kOutOfVideoMemory;
    samplers_.push_back(std::move(sampler));
  }

  // One program per pair of code blocks, however many passes use it.
  std::map<std::pair<std::string, std::string>, int> programIndex;
  std::string log;
  for (const EffectTechniqueDesc& t : desc.techniques) {
    Technique technique{t.name, {}};
    for (const EffectPassDesc& p : t.passes) {
      Pass pass{p.name, p.states, -1};
      if (!p.fragment.empty()) {
        const auto key = std::make_pair(p.vertex, p.fragment);
        if (auto it = programIndex.find(key); it != programIndex.end()) {
          pass.program = it->second;
        } else {
          const EffectCodeDesc* vertex =
              p.vertex.empty() ? nullptr : FindCode(desc, p.vertex, EffectCodeDesc::Stage::Vertex);
          const EffectCodeDesc* fragment =
              FindCode(desc, p.fragment, EffectCodeDesc::Stage::Fragment);
          const std::string vertexSource =
              vertex ? EffectStageSource(desc, *vertex, false) : std::string();
          const std::string fragmentSource = EffectStageSource(desc, *fragment, !vertex);
          Program program;
          std::string programErrors;
          if (Failed(ShaderProgram::Create(device_.Get(), name_, vertexSource, fragmentSource,
                                           program.program.Put(), &programErrors))) {
            log += EffectCompileErrors(name_, programErrors);
          } else {
            for (const Parameter& param : parameters_)
              program.parameterHandles.push_back(
                  param.desc.type == EffectParamType::Texture
                      ? -1
                      : program.program->UniformHandle(param.desc.name));
            program.sent.assign(parameters_.size(), 0);
            for (size_t stage = 0; stage < samplers_.size(); ++stage) {
              const int32_t unit = int32_t(stage);
              program.program->SetInts(program.program->UniformHandle(samplers_[stage].desc.name),
                                       &unit, 1);
            }
          }
          pass.program = int(programs_.size());
          programIndex.emplace(key, pass.program);
          programs_.push_back(std::move(program));
        }
      }
      technique.passes.push_back(std::move(pass));
    }
    techniques_.push_back(std::move(technique));
  }
  if (!log.empty()) {
    if (errors) *errors = log;
    return kFail;
  }
  return kOk;
}

// ---- techniques ----

HResult Effect::SetTechnique(EffectHandle technique) {
  if (!technique) return kInvalidCall;
  for (size_t i = 0; i < techniques_.size(); ++i) {
    if (techniques_[i].name.c_str() == technique || techniques_[i].name == technique) {
      current_ = i;
      return kOk;
    }
  }
  return kInvalidCall;
}

EffectHandle Effect::GetTechnique(uint32_t index) const {
  return index < techniques_.size() ? techniques_[index].name.c_str() : nullptr;
}

EffectHandle Effect::GetCurrentTechnique() const {
  return techniques_[current_].name.c_str();
}

// ---- drawing ----

HResult Effect::Begin(uint32_t* passes, uint32_t flags) {
  if (begun_) return kInvalidCall;
  const Technique& technique = techniques_[current_];
  saved_ = {};
  if (!(flags & EffectBegin::DoNotSaveState)) {
    for (const Pass& pass : technique.passes) {
      for (const auto& entry : pass.states) {
        const RenderState state = entry.first;
        const bool known = std::any_of(saved_.renderStates.begin(), saved_.renderStates.end(),
                                       [&](const auto& s) { return s.first == state; });
        uint32_t old = 0;
        if (!known && Succeeded(device_->GetRenderState(state, &old)))
          saved_.renderStates.emplace_back(state, old);
      }
    }
    for (uint32_t stage = 0; stage < samplers_.size(); ++stage) {
      Texture* texture = nullptr;
      if (Succeeded(device_->GetTexture(stage, &texture)))
        saved_.textures.emplace_back(stage, ComPtr<Texture>::Attach(texture));
      if (flags & EffectBegin::DoNotSaveSamplerState) continue;
      for (const auto& [state, value] : samplers_[stage].desc.states) {
        uint32_t old = 0;
        if (Succeeded(device_->GetSamplerState(stage, state, &old)))
          saved_.samplerStates.emplace_back(stage, state, old);
      }
    }
    if (!(flags & EffectBegin::DoNotSaveShaderState))
      saved_.program = ComPtr<ShaderProgram>::Copy(device_->GetShaderProgram());
  }
  begun_ = true;
  begunTechnique_ = current_;
  activePass_ = -1;
  if (passes) *passes = uint32_t(technique.passes.size());
  return kOk;
}

HResult Effect::BeginPass(uint32_t index) {
  const Technique& technique = techniques_[begunTechnique_];
  if (!begun_ || activePass_ >= 0 || index >= technique.passes.size()) return kInvalidCall;
  const Pass& pass = technique.passes[index];
  Program* program = pass.program >= 0 ? &programs_[size_t(pass.program)] : nullptr;
  device_->SetShaderProgram(program ? program->program.Get() : nullptr);
  for (const auto& [state, value] : pass.states)
    device_->SetRenderState(state, value);
  for (uint32_t stage = 0; stage < samplers_.size(); ++stage)
    for (const auto& [state, value] : samplers_[stage].desc.states)
      device_->SetSamplerState(stage, state, value);
  SendTextures();
  if (program) SendValues(*program);
  device_->SetTechniqueLabel(technique.name);
  activePass_ = int(index);
  return kOk;
}

HResult Effect::CommitChanges() {
  if (activePass_ < 0) return kInvalidCall;
  SendTextures();
  const Pass& pass = techniques_[begunTechnique_].passes[size_t(activePass_)];
  if (pass.program >= 0) SendValues(programs_[size_t(pass.program)]);
  return kOk;
}

HResult Effect::EndPass() {
  if (activePass_ < 0) return kInvalidCall;
  activePass_ = -1;
  device_->SetTechniqueLabel({});
  return kOk;
}

HResult Effect::End() {
  if (!begun_) return kInvalidCall;
  if (activePass_ >= 0) EndPass();
  for (const auto& [state, value] : saved_.renderStates)
    device_->SetRenderState(state, value);
  for (const auto& [stage, state, value] : saved_.samplerStates)
    device_->SetSamplerState(stage, state, value);
  for (const auto& [stage, texture] : saved_.textures)
    device_->SetTexture(stage, texture.Get());
  if (saved_.program) device_->SetShaderProgram(saved_.program->Get());
  saved_ = {};
  begun_ = false;
  return kOk;
}

void Effect::SendTextures() {
  for (uint32_t stage = 0; stage < samplers_.size(); ++stage) {
    const Sampler& s = samplers_[stage];
    if (s.parameter < 0) {
      // A sampler of no parameter reads what the caller binds at its stage, as D3DX leaves it.
      ComPtr<Texture> bound;
      if (Succeeded(device_->GetTexture(stage, bound.Put())) && !bound)
        device_->SetTexture(stage, s.unset.Get());
      continue;
    }
    Texture* texture = parameters_[size_t(s.parameter)].texture.Get();
    device_->SetTexture(stage, texture ? texture : s.unset.Get());
  }
}

void Effect::SendValues(Program& program) {
  for (size_t i = 0; i < parameters_.size(); ++i) {
    const Parameter& p = parameters_[i];
    const int handle = program.parameterHandles[i];
    if (handle < 0 || program.sent[i] == p.version) continue;
    program.program->SetFloats(handle, p.desc.values.data(), uint32_t(p.desc.values.size()));
    program.sent[i] = p.version;
  }
}

// ---- parameters ----

int Effect::FindParameter(EffectHandle name) const {
  if (!name) return -1;
  const auto it = parameterIndex_.find(std::string_view(name));
  return it == parameterIndex_.end() ? -1 : it->second;
}

Effect::Parameter* Effect::FloatParameter(EffectHandle name) {
  const int i = FindParameter(name);
  if (i < 0 || parameters_[size_t(i)].desc.type == EffectParamType::Texture) return nullptr;
  return &parameters_[size_t(i)];
}

HResult Effect::SetLeading(EffectHandle parameter, const float* values, uint32_t count) {
  Parameter* p = FloatParameter(parameter);
  if (!p || !values) return kInvalidCall;
  std::copy_n(values, std::min<size_t>(count, p->desc.values.size()), p->desc.values.begin());
  ++p->version;
  return kOk;
}

HResult Effect::SetTexture(EffectHandle parameter, Texture* texture) {
  const int i = FindParameter(parameter);
  if (i < 0 || parameters_[size_t(i)].desc.type != EffectParamType::Texture) return kInvalidCall;
  parameters_[size_t(i)].texture = ComPtr<Texture>::Copy(texture);
  return kOk;
}

HResult Effect::SetFloat(EffectHandle parameter, float value) {
  return SetLeading(parameter, &value, 1);
}

HResult Effect::SetFloatArray(EffectHandle parameter, const float* values, uint32_t count) {
  return SetLeading(parameter, values, count);
}

HResult Effect::SetVector(EffectHandle parameter, const D3DXVECTOR4* vector) {
  if (!vector) return kInvalidCall;
  const float values[4] = {vector->x, vector->y, vector->z, vector->w};
  return SetLeading(parameter, values, 4);
}

HResult Effect::SetMatrix(EffectHandle parameter, const D3DXMATRIX* matrix) {
  if (!matrix) return kInvalidCall;
  float values[16];
  for (int i = 0; i < 16; ++i)
    values[i] = (*matrix)(i / 4, i % 4);
  return SetLeading(parameter, values, 16);
}

HResult Effect::SetInt(EffectHandle parameter, int32_t value) {
  const float f = float(value);
  return SetLeading(parameter, &f, 1);
}

HResult Effect::SetBool(EffectHandle parameter, bool value) {
  const float f = value ? 1.0f : 0.0f;
  return SetLeading(parameter, &f, 1);
}

HResult Effect::GetFloatArray(EffectHandle parameter, float* values, uint32_t count) const {
  const int i = FindParameter(parameter);
  if (i < 0 || !values) return kInvalidCall;
  const EffectParamDesc& desc = parameters_[size_t(i)].desc;
  if (desc.type == EffectParamType::Texture) return kInvalidCall;
  std::copy_n(desc.values.begin(), std::min<size_t>(count, desc.values.size()), values);
  return kOk;
}

HResult Effect::GetMatrix(EffectHandle parameter, D3DXMATRIX* matrix) const {
  const int i = FindParameter(parameter);
  if (i < 0 || !matrix || parameters_[size_t(i)].desc.type != EffectParamType::Float4x4)
    return kInvalidCall;
  const std::vector<float>& values = parameters_[size_t(i)].desc.values;
  for (int k = 0; k < 16; ++k)
    (*matrix)(k / 4, k % 4) = values[size_t(k)];
  return kOk;
}

HResult Effect::GetTexture(EffectHandle parameter, Texture** texture) const {
  const int i = FindParameter(parameter);
  if (!texture) return kInvalidCall;
  *texture = nullptr;
  if (i < 0 || parameters_[size_t(i)].desc.type != EffectParamType::Texture) return kInvalidCall;
  *texture = ComPtr<Texture>::Copy(parameters_[size_t(i)].texture.Get()).Detach();
  return kOk;
}

// ---- device loss ----

HResult Effect::OnLostDevice() {
  if (begun_) End();
  return kOk;
}

HResult Effect::OnResetDevice() {
  for (Program& program : programs_)
    std::fill(program.sent.begin(), program.sent.end(), 0);
  return kOk;
}

}  // namespace gfx

gfx::HResult D3DXCreateEffect(gfx::Device* device, const void* data, uint32_t size,
                              std::string_view name, gfx::Effect** out, std::string* errors) {
  if (!out) return gfx::kInvalidCall;
  *out = nullptr;
  if (!data || size == 0) return gfx::kInvalidCall;
  return gfx::Effect::Create(device, name, {static_cast<const char*>(data), size}, out, errors);
}
