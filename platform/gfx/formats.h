#pragma once

#include <cstdint>

// Surface formats, memory pools, usage bits and resource types with the Direct3D 9 numbers,
// which stored projects and the scene code use directly.
namespace gfx {

constexpr uint32_t MakeFourCc(char a, char b, char c, char d) {
  return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
         uint32_t(uint8_t(d)) << 24;
}

enum class Format : uint32_t {
  Unknown = 0,
  R8G8B8 = 20,  // requested only; textures of it are made as X8R8G8B8
  A8R8G8B8 = 21,
  X8R8G8B8 = 22,
  A8 = 28,
  V8U8 = 60,    // signed normalised u, v
  V16U16 = 64,  // signed normalised u, v
  D24S8 = 75,
  Index16 = 101,
  Index32 = 102,
  Dxt1 = MakeFourCc('D', 'X', 'T', '1'),
  Dxt3 = MakeFourCc('D', 'X', 'T', '3'),
  Dxt5 = MakeFourCc('D', 'X', 'T', '5'),
};

enum class Pool : uint32_t {
  Default = 0,  // device memory: render targets and dynamic buffers; dropped on device loss
  Managed = 1,  // kept in a CPU copy and uploaded as needed; survives device loss
  SystemMem = 2,
  Scratch = 3,
};

// Usage bits of textures and buffers.
struct Usage {
  enum : uint32_t {
    RenderTarget = 0x1,
    DepthStencil = 0x2,
    WriteOnly = 0x8,
    Dynamic = 0x200,
    AutoGenMipMap = 0x400,
  };
};

enum class ResourceType : uint32_t {
  Surface = 1,
  Texture = 3,
  VertexBuffer = 6,
  IndexBuffer = 7,
};

// Flags of Lock and LockRect.
struct LockFlags {
  enum : uint32_t {
    ReadOnly = 0x10,
    NoSysLock = 0x800,
    NoOverwrite = 0x1000,
    Discard = 0x2000,
  };
};

}  // namespace gfx
