#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/device.h"
#include "platform/gfx/effect/effect_desc.h"
#include "platform/gfx/shader_program.h"
#include "platform/math/d3dx_types.h"

namespace gfx {

// Names a technique or parameter: its name (exact, case-sensitive) or what GetTechnique gave.
using EffectHandle = const char*;

// Flags of Effect::Begin.
struct EffectBegin {
  enum : uint32_t {
    DoNotSaveState = 1,         // nothing is saved or restored
    DoNotSaveShaderState = 2,   // the shader program is not restored
    DoNotSaveSamplerState = 4,  // sampler states are not restored
  };
};

// A compiled effect (effect_parser.h has the file format), used as D3DX effects are:
// - Parameter values and the current technique belong to the effect and persist between
//   users and frames; a new effect starts on its first technique with the declared defaults.
// - Setting an unknown name, or a value of the wrong kind, fails and changes nothing.
//   SetFloatArray (and the other setters) with fewer values than the parameter holds sets
//   the leading ones.
// - Begin saves the device state that the technique's passes set (render states, the
//   samplers' textures and states, the shader program) and End restores it. BeginPass
//   applies the pass: its program, render states, sampler states and textures and the
//   parameter values; the caller may change states afterwards (blending, sampler addressing)
//   and they hold for its draws. CommitChanges brings values and textures set during a pass
//   to the device.
// - A sampler that names no texture parameter reads the texture the caller binds at its stage
//   (before Begin or after BeginPass), and its unset value while none is bound. A texture
//   parameter may have a second name; both names set and get the one texture.
// - While a pass is on, the device's frame log records draws under the technique's name.
// Uniform locations are looked up once, when the effect is made.
class Effect final : public Unknown {
 public:
  // Compiles effect text; on failure kFail with "name(line): message" lines in `errors`.
  [[nodiscard]] static HResult Create(Device* device, std::string_view name, std::string_view text,
                                      Effect** out, std::string* errors);

  const std::string& Name() const { return name_; }

  // ---- techniques ----
  HResult SetTechnique(EffectHandle technique);
  EffectHandle GetTechnique(uint32_t index) const;  // null past the last
  EffectHandle GetCurrentTechnique() const;

  // ---- drawing ----
  HResult Begin(uint32_t* passes, uint32_t flags);
  HResult BeginPass(uint32_t pass);
  HResult CommitChanges();
  HResult EndPass();
  HResult End();

  // ---- parameters ----
  HResult SetTexture(EffectHandle parameter, Texture* texture);  // null: the unset value
  HResult SetFloat(EffectHandle parameter, float value);
  HResult SetFloatArray(EffectHandle parameter, const float* values, uint32_t count);
  HResult SetVector(EffectHandle parameter, const D3DXVECTOR4* vector);
  HResult SetMatrix(EffectHandle parameter, const D3DXMATRIX* matrix);
  HResult SetInt(EffectHandle parameter, int32_t value);  // stored as a float
  HResult SetBool(EffectHandle parameter, bool value);    // 1 or 0
  // The leading `count` values of a float parameter (fewer when it holds fewer).
  HResult GetFloatArray(EffectHandle parameter, float* values, uint32_t count) const;
  // The value of a float4x4 parameter.
  HResult GetMatrix(EffectHandle parameter, D3DXMATRIX* matrix) const;
  // The texture of a texture parameter, with a reference for the caller; null while unset.
  HResult GetTexture(EffectHandle parameter, Texture** texture) const;

  // ---- device loss ----
  // Before the device is reset: ends a Begin that is still open.
  HResult OnLostDevice();
  // After the reset: the next pass sends every value again.
  HResult OnResetDevice();

 private:
  struct Parameter {
    EffectParamDesc desc;
    ComPtr<Texture> texture;
    uint64_t version = 1;
  };
  struct Program {
    ComPtr<ShaderProgram> program;
    std::vector<int> parameterHandles;  // per parameter; -1 when the program does not use it
    std::vector<uint64_t> sent;         // the parameter version the program holds
  };
  struct Pass {
    std::string name;
    std::vector<std::pair<RenderState, uint32_t>> states;
    int program = -1;  // index into programs_; -1 for the fixed-function pipeline
  };
  struct Technique {
    std::string name;
    std::vector<Pass> passes;
  };
  struct Sampler {
    EffectSamplerDesc desc;
    int parameter = -1;  // the texture parameter
    ComPtr<Texture> unset;
  };
  // What Begin saved.
  struct Saved {
    std::vector<std::pair<RenderState, uint32_t>> renderStates;
    std::vector<std::tuple<uint32_t, SamplerState, uint32_t>> samplerStates;
    std::vector<std::pair<uint32_t, ComPtr<Texture>>> textures;
    std::optional<ComPtr<ShaderProgram>> program;
  };

  Effect(Device* device, std::string_view name);
  ~Effect() override = default;
  HResult Build(const EffectDesc& desc, std::string* errors);
  int FindParameter(EffectHandle name) const;
  // The float values of a parameter, or null when it is unknown or a texture.
  Parameter* FloatParameter(EffectHandle name);
  HResult SetLeading(EffectHandle parameter, const float* values, uint32_t count);
  void SendTextures();
  void SendValues(Program& program);

  ComPtr<Device> device_;
  std::string name_;
  std::vector<Parameter> parameters_;
  std::map<std::string, int, std::less<>> parameterIndex_;
  std::vector<Sampler> samplers_;
  std::vector<Program> programs_;
  std::vector<Technique> techniques_;
  size_t current_ = 0;

  bool begun_ = false;
  size_t begunTechnique_ = 0;
  int activePass_ = -1;
  Saved saved_;
};

}  // namespace gfx

// D3DX's name for Effect::Create on effect text or bytes.
[[nodiscard]] gfx::HResult D3DXCreateEffect(gfx::Device* device, const void* data, uint32_t size,
                                            std::string_view name, gfx::Effect** out,
                                            std::string* errors);
