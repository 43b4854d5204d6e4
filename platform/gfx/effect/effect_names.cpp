#include "platform/gfx/effect/effect_names.h"

#include <algorithm>
#include <cctype>

namespace gfx {

namespace {

template <typename T>
struct Named {
  const char* name;
  T value;
};

template <typename T, size_t N>
std::optional<T> Find(const Named<T> (&table)[N], std::string_view name) {
  for (const auto& entry : table)
    if (EqualsIgnoringCase(entry.name, name)) return entry.value;
  return std::nullopt;
}

using K = EffectValueKind;

const Named<EffectRenderStateName> kRenderStates[] = {
    {"ZEnable", {RenderState::ZEnable, K::Bool}},
    {"ShadeMode", {RenderState::ShadeMode, K::ShadeMode}},
    {"ZWriteEnable", {RenderState::ZWriteEnable, K::Bool}},
    {"SrcBlend", {RenderState::SrcBlend, K::Blend}},
    {"DestBlend", {RenderState::DestBlend, K::Blend}},
    {"CullMode", {RenderState::CullMode, K::Cull}},
    {"ZFunc", {RenderState::ZFunc, K::Cmp}},
    {"DitherEnable", {RenderState::DitherEnable, K::Bool}},
    {"AlphaBlendEnable", {RenderState::AlphaBlendEnable, K::Bool}},
    {"SpecularEnable", {RenderState::SpecularEnable, K::Bool}},
    {"Lighting", {RenderState::Lighting, K::Bool}},
    {"Ambient", {RenderState::Ambient, K::Number}},
    {"NormalizeNormals", {RenderState::NormalizeNormals, K::Bool}},
    {"ClipPlaneEnable", {RenderState::ClipPlaneEnable, K::Number}},
    {"ColorWriteEnable", {RenderState::ColorWriteEnable, K::ColorWrite}},
    {"BlendOp", {RenderState::BlendOp, K::BlendOp}},
    {"BlendFactor", {RenderState::BlendFactor, K::Number}},
};

const Named<EffectSamplerStateName> kSamplerStates[] = {
    {"AddressU", {SamplerState::AddressU, K::Address}},
    {"AddressV", {SamplerState::AddressV, K::Address}},
    {"AddressW", {SamplerState::AddressW, K::Address}},
    {"BorderColor", {SamplerState::BorderColor, K::Number}},
    {"MagFilter", {SamplerState::MagFilter, K::Filter}},
    {"MinFilter", {SamplerState::MinFilter, K::Filter}},
    {"MipFilter", {SamplerState::MipFilter, K::Filter}},
};

const Named<uint32_t> kBools[] = {{"True", 1}, {"False", 0}};
const Named<uint32_t> kBlends[] = {
    {"Zero", Blend::Zero},
    {"One", Blend::One},
    {"SrcColor", Blend::SrcColor},
    {"InvSrcColor", Blend::InvSrcColor},
    {"SrcAlpha", Blend::SrcAlpha},
    {"InvSrcAlpha", Blend::InvSrcAlpha},
    {"DestAlpha", Blend::DestAlpha},
    {"InvDestAlpha", Blend::InvDestAlpha},
    {"DestColor", Blend::DestColor},
    {"InvDestColor", Blend::InvDestColor},
    {"SrcAlphaSat", Blend::SrcAlphaSat},
    {"BothSrcAlpha", Blend::BothSrcAlpha},
    {"BothInvSrcAlpha", Blend::BothInvSrcAlpha},
    {"BlendFactor", Blend::BlendFactor},
    {"InvBlendFactor", Blend::InvBlendFactor},
};
const Named<uint32_t> kBlendOps[] = {{"Add", BlendOp::Add},
                                     {"Subtract", BlendOp::Subtract},
                                     {"RevSubtract", BlendOp::RevSubtract},
                                     {"Min", BlendOp::Min},
                                     {"Max", BlendOp::Max}};
const Named<uint32_t> kCulls[] = {{"None", Cull::None}, {"CW", Cull::CW}, {"CCW", Cull::CCW}};
const Named<uint32_t> kCmps[] = {{"Never", Cmp::Never},
                                 {"Less", Cmp::Less},
                                 {"Equal", Cmp::Equal},
                                 {"LessEqual", Cmp::LessEqual},
                                 {"Greater", Cmp::Greater},
                                 {"NotEqual", Cmp::NotEqual},
                                 {"GreaterEqual", Cmp::GreaterEqual},
                                 {"Always", Cmp::Always}};
const Named<uint32_t> kShadeModes[] = {{"Flat", ShadeMode::Flat}, {"Gouraud", ShadeMode::Gouraud}};
const Named<uint32_t> kColorWrites[] = {{"Red", ColorWrite::Red},
                                        {"Green", ColorWrite::Green},
                                        {"Blue", ColorWrite::Blue},
                                        {"Alpha", ColorWrite::Alpha},
                                        {"All", ColorWrite::All}};
const Named<uint32_t> kAddresses[] = {{"Wrap", TextureAddress::Wrap},
                                      {"Mirror", TextureAddress::Mirror},
                                      {"Clamp", TextureAddress::Clamp},
                                      {"Border", TextureAddress::Border}};
const Named<uint32_t> kFilters[] = {{"None", TextureFilter::None},
                                    {"Point", TextureFilter::Point},
                                    {"Linear", TextureFilter::Linear}};

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

std::optional<EffectRenderStateName> FindRenderStateName(std::string_view name) {
  return Find(kRenderStates, name);
}

std::optional<EffectSamplerStateName> FindSamplerStateName(std::string_view name) {
  return Find(kSamplerStates, name);
}

std::optional<uint32_t> FindValueName(EffectValueKind kind, std::string_view name) {
  switch (kind) {
    case K::Bool:
      return Find(kBools, name);
    case K::Blend:
      return Find(kBlends, name);
    case K::BlendOp:
      return Find(kBlendOps, name);
    case K::Cull:
      return Find(kCulls, name);
    case K::Cmp:
      return Find(kCmps, name);
    case K::ShadeMode:
      return Find(kShadeModes, name);
    case K::ColorWrite:
      return Find(kColorWrites, name);
    case K::Address:
      return Find(kAddresses, name);
    case K::Filter:
      return Find(kFilters, name);
    case K::Number:
      break;
  }
  return std::nullopt;
}

}  // namespace gfx
