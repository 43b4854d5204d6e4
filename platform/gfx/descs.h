#pragma once

#include <bit>
#include <cstdint>

#include "platform/gfx/formats.h"
#include "platform/gfx/fvf.h"
#include "platform/gfx/states.h"
#include "platform/math/d3dx_types.h"

// Plain records passed to and from the device, laid out as their Direct3D 9 counterparts.
namespace gfx {

// Float-valued states (bump matrix, luminance scale) travel as the float's bits.
constexpr uint32_t FloatBits(float f) {
  return std::bit_cast<uint32_t>(f);
}
constexpr float BitsFloat(uint32_t bits) {
  return std::bit_cast<float>(bits);
}

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct LockedRect {
  int32_t pitch = 0;  // bytes from one row (of blocks, for DXT) to the next
  void* bits = nullptr;
};

struct SurfaceDesc {
  Format format = Format::Unknown;
  ResourceType type = ResourceType::Surface;
  uint32_t usage = 0;
  Pool pool = Pool::Default;
  uint32_t width = 0;
  uint32_t height = 0;
};

struct VertexBufferDesc {
  Format format = Format::Unknown;  // always Unknown for vertex data
  ResourceType type = ResourceType::VertexBuffer;
  uint32_t usage = 0;
  Pool pool = Pool::Default;
  uint32_t size = 0;
  uint32_t fvf = 0;
};

struct IndexBufferDesc {
  Format format = Format::Index16;
  ResourceType type = ResourceType::IndexBuffer;
  uint32_t usage = 0;
  Pool pool = Pool::Default;
  uint32_t size = 0;
};

// The part of the target drawn into, in pixels from its top-left corner, with the depth range.
struct Viewport {
  uint32_t x = 0, y = 0, width = 0, height = 0;
  float minZ = 0.0f, maxZ = 1.0f;
  friend bool operator==(const Viewport&, const Viewport&) = default;
};

struct ColorValue {
  float r = 0, g = 0, b = 0, a = 0;
  friend bool operator==(const ColorValue&, const ColorValue&) = default;
};

struct Light {
  LightType type = LightType::Directional;
  ColorValue diffuse, specular, ambient;
  D3DXVECTOR3 position;
  D3DXVECTOR3 direction;  // world space, from the light towards the scene
  float range = 0, falloff = 0, attenuation0 = 0, attenuation1 = 0, attenuation2 = 0;
  float theta = 0, phi = 0;
};

struct Material {
  ColorValue diffuse, ambient, specular, emissive;
  float power = 0;
};

struct PresentParameters {
  uint32_t backBufferWidth = 0;  // 0: the window's drawable size
  uint32_t backBufferHeight = 0;
  Format backBufferFormat = Format::X8R8G8B8;  // X8R8G8B8 or A8R8G8B8
  bool enableAutoDepthStencil = true;          // a D24S8 surface of back-buffer size
  bool windowed = true;
  uint32_t presentationInterval = 1;  // 0 presents at once, 1 waits for the vertical blank
};

struct BackBufferType {
  enum : uint32_t { Mono = 0 };
};

struct Caps {
  uint32_t textureOpCaps = 0;  // TextureOpCap(op) bits
  uint32_t maxTextureWidth = 0;
  uint32_t maxTextureHeight = 0;
  uint32_t maxSimultaneousTextures = 0;
  uint32_t maxTextureBlendStages = 0;
  uint32_t maxActiveLights = 0;
  uint32_t numSimultaneousRTs = 0;
  uint32_t maxPrimitiveCount = 0;
  uint32_t maxVertexIndex = 0;
};

}  // namespace gfx
