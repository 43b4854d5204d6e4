#include "platform/gfx/fvf.h"

#include <algorithm>
#include <utility>

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

void FvfLayout::TrimTo(uint32_t stride) {
  if (!valid || uint32_t(size) <= stride) return;
  const int limit = int(stride);
  if (positionComponents * 4 > limit) {
    *this = FvfLayout{};
    return;
  }
  auto fits = [&](int offset, int bytes) { return offset >= 0 && offset + bytes <= limit; };
  if (!fits(normal, 12)) normal = -1;
  if (!fits(pointSize, 4)) pointSize = -1;
  if (!fits(diffuse, 4)) diffuse = -1;
  if (!fits(specular, 4)) specular = -1;
  for (int i = 0; i < texCoordSets; ++i) {
    if (!fits(texCoord[i], 4 * texCoordComponents[i])) {
      texCoordSets = i;
      break;
    }
  }
  int end = positionComponents * 4;
  for (auto [offset, bytes] : {std::pair{normal, 12}, {pointSize, 4}, {diffuse, 4}, {specular, 4}})
    if (offset >= 0) end = std::max(end, offset + bytes);
  for (int i = 0; i < texCoordSets; ++i)
    end = std::max(end, texCoord[i] + 4 * texCoordComponents[i]);
  size = end;
}

}  // namespace gfx
