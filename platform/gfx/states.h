#pragma once

#include <cstdint>

// Names and values of the device's render, texture stage, sampler and transform states, with the
// Direct3D 9 numbers. State names are enum classes; state values are plain constants grouped by
// meaning, so that they pass straight to Set*State as the Dword they are.
namespace gfx {

enum class RenderState : uint32_t {
  ZEnable = 7,
  ShadeMode = 9,
  ZWriteEnable = 14,
  SrcBlend = 19,
  DestBlend = 20,
  CullMode = 22,
  ZFunc = 23,
  DitherEnable = 26,
  AlphaBlendEnable = 27,
  SpecularEnable = 29,
  Lighting = 137,
  Ambient = 139,  // global ambient light, 0xAARRGGBB
  NormalizeNormals = 143,
  ClipPlaneEnable = 152,  // kept as state; no user clip planes are applied
  ColorWriteEnable = 168,
  BlendOp = 171,
  BlendFactor = 193,  // the constant colour of Blend::BlendFactor, 0xAARRGGBB
};
inline constexpr uint32_t kRenderStateCount = 256;

struct ZBuffer {
  enum : uint32_t { False = 0, True = 1 };
};

struct ShadeMode {
  enum : uint32_t { Flat = 1, Gouraud = 2 };
};

struct Blend {
  enum : uint32_t {
    Zero = 1,
    One = 2,
    SrcColor = 3,
    InvSrcColor = 4,
    SrcAlpha = 5,
    InvSrcAlpha = 6,
    DestAlpha = 7,
    InvDestAlpha = 8,
    DestColor = 9,
    InvDestColor = 10,
    SrcAlphaSat = 11,
    BothSrcAlpha = 12,     // source SRCALPHA and destination INVSRCALPHA
    BothInvSrcAlpha = 13,  // source INVSRCALPHA and destination SRCALPHA
    BlendFactor = 14,
    InvBlendFactor = 15,
  };
};

struct BlendOp {
  enum : uint32_t { Add = 1, Subtract = 2, RevSubtract = 3, Min = 4, Max = 5 };
};

// Which winding is culled, as seen on the target with y growing downwards.
struct Cull {
  enum : uint32_t { None = 1, CW = 2, CCW = 3 };
};

struct Cmp {
  enum : uint32_t {
    Never = 1,
    Less = 2,
    Equal = 3,
    LessEqual = 4,
    Greater = 5,
    NotEqual = 6,
    GreaterEqual = 7,
    Always = 8,
  };
};

struct ColorWrite {
  enum : uint32_t { Red = 1, Green = 2, Blue = 4, Alpha = 8, All = 15 };
};

struct ClearFlags {
  enum : uint32_t { Target = 1, ZBuffer = 2, Stencil = 4 };
};

enum class TextureStageState : uint32_t {
  ColorOp = 1,
  ColorArg1 = 2,
  ColorArg2 = 3,
  AlphaOp = 4,
  AlphaArg1 = 5,
  AlphaArg2 = 6,
  BumpEnvMat00 = 7,  // the float's bits
  BumpEnvMat01 = 8,
  BumpEnvMat10 = 9,
  BumpEnvMat11 = 10,
  TexCoordIndex = 11,
  BumpEnvLScale = 22,
  BumpEnvLOffset = 23,
  TextureTransformFlags = 24,
};
inline constexpr uint32_t kStageStateCount = 33;

struct TextureOp {
  enum : uint32_t {
    Disable = 1,
    SelectArg1 = 2,
    SelectArg2 = 3,
    Modulate = 4,
    Add = 7,
    BumpEnvMap = 22,
  };
};

// Stage arguments; values above these select what the fixed-function emulation does not offer
// and read as CURRENT.
struct TextureArg {
  enum : uint32_t { Diffuse = 0, Current = 1, Texture = 2, Specular = 4, SelectMask = 0xF };
};

// TEXCOORDINDEX: the coordinate set in the low 16 bits, a generation mode above.
struct TexCoordIndex {
  enum : uint32_t { PassThru = 0, CameraSpacePosition = 0x20000, ModeMask = 0xFFFF0000 };
};

struct TextureTransform {
  enum : uint32_t { Disable = 0, Count1 = 1, Count2 = 2, Count3 = 3, Count4 = 4 };
};

enum class SamplerState : uint32_t {
  AddressU = 1,
  AddressV = 2,
  AddressW = 3,
  BorderColor = 4,  // 0xAARRGGBB
  MagFilter = 5,
  MinFilter = 6,
  MipFilter = 7,
};
inline constexpr uint32_t kSamplerStateCount = 14;

struct TextureAddress {
  enum : uint32_t { Wrap = 1, Mirror = 2, Clamp = 3, Border = 4 };
};

struct TextureFilter {
  enum : uint32_t { None = 0, Point = 1, Linear = 2 };
};

enum class TransformState : uint32_t {
  View = 2,
  Projection = 3,
  Texture0 = 16,
  Texture1 = 17,
  Texture2 = 18,
  Texture3 = 19,
  World = 256,
};

enum class PrimitiveType : uint32_t {
  PointList = 1,
  LineList = 2,
  LineStrip = 3,
  TriangleList = 4,
  TriangleStrip = 5,
  TriangleFan = 6,
};

enum class LightType : uint32_t { Point = 1, Spot = 2, Directional = 3 };

// Texture operations the device can do, as the bits of Caps::textureOpCaps.
constexpr uint32_t TextureOpCap(uint32_t op) {
  return 1u << (op - 1);
}

inline constexpr int kMaxTextureStages = 4;
inline constexpr int kMaxLights = 8;
// The largest texture width and height, as the device reports it in Caps: what the Direct3D 9
// cards of the projects' time reported (shader model 3 cards, GeForce 6/7 and Radeon X1000,
// give 4096; only older or low-end ones 2048). Larger pictures are scaled down to it when they
// are loaded, as D3DX does for such cards, so that no picture holds more than a card could show.
inline constexpr uint32_t kMaxTextureSize = 4096;

}  // namespace gfx
