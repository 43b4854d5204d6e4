#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/gfx/states.h"

namespace gfx {

// The names an effect file gives render states, sampler states and their values. Case is
// ignored.

// What kind of value a state takes, which decides the names its values may have.
enum class EffectValueKind {
  Number,
  Bool,
  Blend,
  BlendOp,
  Cull,
  Cmp,
  ShadeMode,
  ColorWrite,
  Address,
  Filter
};

struct EffectRenderStateName {
  RenderState state;
  EffectValueKind kind;
};
std::optional<EffectRenderStateName> FindRenderStateName(std::string_view name);

struct EffectSamplerStateName {
  SamplerState state;
  EffectValueKind kind;
};
std::optional<EffectSamplerStateName> FindSamplerStateName(std::string_view name);

// A value name of that kind (True, SrcAlpha, CCW, LessEqual, Clamp, Linear, Red, ...).
std::optional<uint32_t> FindValueName(EffectValueKind kind, std::string_view name);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace gfx
