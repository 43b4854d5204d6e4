#include "platform/gfx/fvf.h"

namespace gfx {

FvfLayout FvfLayout::Decode(uint32_t fvf) {
  FvfLayout l;
  const uint32_t texCount = (fvf & Fvf::TexCountMask) >> Fvf::TexCountShift;
  uint32_t known = Fvf::PositionMask | Fvf::Normal | Fvf::PSize | Fvf::Diffuse | Fvf::Specular |
                   Fvf::TexCountMask;
  for (uint32_t i = 0; i < texCount && i < kMaxTexCoordSets; ++i)
    known |= 3u << (16 + 2 * i);
  if ((fvf & ~known) != 0 || texCount > kMaxTexCoordSets) return l;

  switch (fvf & Fvf::PositionMask) {
    case Fvf::Xyz:
      l.positionComponents = 3;
      break;
    case Fvf::XyzRhw:
      l.positionComponents = 4, l.pretransformed = true;
      break;
    case Fvf::XyzW:
      l.positionComponents = 4;
      break;
    default:
      return l;
  }
  int offset = l.positionComponents * 4;
  if (fvf & Fvf::Normal) l.normal = offset, offset += 12;
  if (fvf & Fvf::PSize) l.pointSize = offset, offset += 4;
  if (fvf & Fvf::Diffuse) l.diffuse = offset, offset += 4;
  if (fvf & Fvf::Specular) l.specular = offset, offset += 4;
  l.texCoordSets = static_cast<int>(texCount);
  for (int i = 0; i < l.texCoordSets; ++i) {
    static constexpr int kComponents[4] = {2, 3, 4, 1};
    l.texCoordComponents[i] = kComponents[(fvf >> (16 + 2 * i)) & 3];
    l.texCoord[i] = offset;
    offset += 4 * l.texCoordComponents[i];
  }
  l.size = offset;
  l.valid = true;
  return l;
}

}  // namespace gfx
