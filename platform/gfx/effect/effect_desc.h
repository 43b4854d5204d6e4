#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/gfx/states.h"

namespace gfx {

// An effect file as declared: parameters, samplers, techniques and GLSL code blocks. The
// runtime (effect.h) compiles it; the format is described in effect_parser.h.

enum class EffectParamType { Float, Float2, Float3, Float4, Float4x4, Texture };

struct EffectParamDesc {
  std::string name;
  std::string secondName;  // a texture may carry a second name; setting either sets it
  EffectParamType type = EffectParamType::Float;
  uint32_t arraySize = 0;     // 0 for a single value
  std::vector<float> values;  // every component of every element, declared defaults first
  int line = 0;
};

struct EffectSamplerDesc {
  std::string name;     // the GLSL sampler2D
  std::string texture;  // the texture parameter it reads; empty: the texture of its stage
  std::vector<std::pair<SamplerState, uint32_t>> states;
  std::array<float, 4> unset{0, 0, 0, 1};  // r, g, b, a read while no texture is set
  int line = 0;
};

struct EffectPassDesc {
  std::string name;
  std::vector<std::pair<RenderState, uint32_t>> states;
  std::string vertex, fragment;  // code block names; empty: the fixed-function stage
  int line = 0;
};

struct EffectTechniqueDesc {
  std::string name;
  std::vector<EffectPassDesc> passes;
  int line = 0;
};

struct EffectCodeDesc {
  enum class Stage { Common, Vertex, Fragment };
  Stage stage = Stage::Common;
  std::string name;  // empty for common code
  std::string text;
  int firstLine = 0;  // the file line of the block's first code line
};

struct EffectDesc {
  std::vector<EffectParamDesc> parameters;
  std::vector<EffectSamplerDesc> samplers;
  std::vector<EffectTechniqueDesc> techniques;
  std::vector<EffectCodeDesc> code;
};

// Values a parameter of the type holds per element.
uint32_t ComponentCount(EffectParamType type);

}  // namespace gfx
