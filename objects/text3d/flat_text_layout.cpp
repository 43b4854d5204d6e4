#include "objects/text3d/flat_text_layout.h"

#include "core/math/ratio.h"

FlatTextPlacement PlaceFlatText(const D3DXVECTOR3& first, const D3DXVECTOR3& last,
                                float textureWidth, float textureHeight, float usedU, float usedV,
                                int horizontal, int vertical) {
  FlatTextPlacement p;
  p.a = RatioOr0(last.x - first.x, textureWidth);
  p.c = RatioOr0(last.y - first.y, textureHeight);
  p.e = (usedU - p.a) * (static_cast<float>(horizontal) * 0.5f);
  p.f = (usedV - p.c) * (static_cast<float>(vertical) * 0.5f);
  return p;
}

FadeEnd FadeTable::At(float v) const {
  FadeEnd out;
  out.alpha = hidden.alpha + (shown.alpha - hidden.alpha) * v;
  out.shift = hidden.shift + (shown.shift - hidden.shift) * v;
  out.wipe = hidden.wipe + (shown.wipe - hidden.wipe) * v;
  return out;
}

namespace {

// The table whose hidden end the kind sets; kinds 2 to 5 take their shift from `slides`, in
// the order of the kinds.
FadeTable Table(int kind, const D3DXVECTOR2 (&slides)[4]) {
  FadeTable table;
  FadeEnd& hidden = table.hidden;
  switch (kind) {
    case 1:
      hidden.alpha = 0.0f;
      break;
    case 2:
    case 3:
    case 4:
    case 5:
      hidden.shift = slides[kind - 2];
      break;
    case 6:
      hidden.wipe = D3DXVECTOR2(0.0f, 1.0f);
      break;
    case 7:
      hidden.wipe = D3DXVECTOR2(1.0f, 0.0f);
      break;
    case 8:
      hidden.wipe = D3DXVECTOR2(1.0f, 1.0f);
      break;
    default:
      break;
  }
  return table;
}

}  // namespace

FadeTable FadeInTable(int kind, const FlatTextPlacement& p, float usedU, float usedV) {
  const D3DXVECTOR2 slides[4] = {
      {p.e - usedU, 0.0f}, {p.a + p.e, 0.0f}, {0.0f, p.f + p.c}, {0.0f, p.f - usedV}};
  return Table(kind, slides);
}

FadeTable FadeOutTable(int kind, const FlatTextPlacement& p, float usedU, float usedV) {
  const D3DXVECTOR2 slides[4] = {
      {p.a + p.e, 0.0f}, {p.e - usedU, 0.0f}, {0.0f, p.f - usedV}, {0.0f, p.f + p.c}};
  return Table(kind, slides);
}
