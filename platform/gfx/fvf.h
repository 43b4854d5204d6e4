#pragma once

#include <array>
#include <cstdint>

// Flexible vertex format bits (Direct3D 9 numbers) and the vertex layout they describe.
namespace gfx {

struct Fvf {
  enum : uint32_t {
    Xyz = 0x002,
    XyzRhw = 0x004,
    XyzW = 0x4002,
    PositionMask = 0x400E,
    Normal = 0x010,
    PSize = 0x020,
    Diffuse = 0x040,
    Specular = 0x080,
    TexCountMask = 0xF00,
    TexCountShift = 8,
    Tex0 = 0x000,
    Tex1 = 0x100,
    Tex2 = 0x200,
    Tex3 = 0x300,
    Tex4 = 0x400,
    Tex5 = 0x500,
    Tex6 = 0x600,
    Tex7 = 0x700,
    Tex8 = 0x800,
  };
};

// Bits 16 + 2i of an FVF give the size of coordinate set i: 0 two floats, 1 three, 2 four,
// 3 one.
constexpr uint32_t FvfTexCoordSize1(int set) {
  return 3u << (16 + 2 * set);
}
constexpr uint32_t FvfTexCoordSize3(int set) {
  return 1u << (16 + 2 * set);
}
constexpr uint32_t FvfTexCoordSize4(int set) {
  return 2u << (16 + 2 * set);
}

inline constexpr int kMaxTexCoordSets = 8;

// Byte offsets of the elements of one vertex; -1 for an element the format lacks.
struct FvfLayout {
  bool valid = false;
  bool pretransformed = false;  // XYZRHW: pixel positions of the current target
  int positionComponents = 0;   // 3 (XYZ) or 4 (XYZRHW, XYZW)
  int normal = -1;
  int pointSize = -1;
  int diffuse = -1;
  int specular = -1;
  int texCoordSets = 0;
  std::array<int, kMaxTexCoordSets> texCoord{};
  std::array<int, kMaxTexCoordSets> texCoordComponents{};
  int size = 0;  // bytes of one vertex

  // Decodes the formats built from XYZ, XYZRHW or XYZW, NORMAL, PSIZE, DIFFUSE, SPECULAR and up
  // to eight coordinate sets; anything else (blend weights, unknown bits) is not valid.
  static FvfLayout Decode(uint32_t fvf);

  // Drops the elements that end past `stride` bytes, as a stream with that stride cannot hold
  // them (a format naming more coordinate sets than the vertices carry). Not valid when even
  // the position does not fit.
  void TrimTo(uint32_t stride);
};

}  // namespace gfx
