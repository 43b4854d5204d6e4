#pragma once

#include <cstdint>

#include "platform/gfx/formats.h"

// Constants and the picture description of the D3DX texture functions, with D3DX's values.

// Sizes and level counts: D3DX_DEFAULT takes the picture's size rounded up to a power of two
// (and the full mip chain); D3DX_DEFAULT_NONPOW2 the size as it is; D3DX_FROM_FILE the size
// and the level count of the file.
inline constexpr uint32_t D3DX_DEFAULT = 0xFFFFFFFF;
inline constexpr uint32_t D3DX_DEFAULT_NONPOW2 = 0xFFFFFFFE;
inline constexpr uint32_t D3DX_FROM_FILE = 0xFFFFFFFD;

// Filters: the low byte selects the filter; D3DX_DEFAULT means TRIANGLE for pictures and BOX
// for mip levels. The flags above the low byte (mirroring, dither, sRGB) are accepted and
// not applied.
inline constexpr uint32_t D3DX_FILTER_NONE = 1;
inline constexpr uint32_t D3DX_FILTER_POINT = 2;
inline constexpr uint32_t D3DX_FILTER_LINEAR = 3;
inline constexpr uint32_t D3DX_FILTER_TRIANGLE = 4;
inline constexpr uint32_t D3DX_FILTER_BOX = 5;
inline constexpr uint32_t D3DX_FILTER_DITHER = 0x80000;

enum class D3DXIMAGE_FILEFORMAT : uint32_t {
  BMP = 0,
  JPG = 1,
  TGA = 2,
  PNG = 3,
  DDS = 4,
  GIF = 0x100,  // ours: D3DX has no number for it
};

// What a picture file holds: its size, levels and format before any conversion.
struct D3DXIMAGE_INFO {
  uint32_t Width = 0;
  uint32_t Height = 0;
  uint32_t Depth = 1;
  uint32_t MipLevels = 1;
  gfx::Format Format = gfx::Format::Unknown;
  gfx::ResourceType ResourceType = gfx::ResourceType::Texture;
  D3DXIMAGE_FILEFORMAT ImageFileFormat = D3DXIMAGE_FILEFORMAT::BMP;
};
