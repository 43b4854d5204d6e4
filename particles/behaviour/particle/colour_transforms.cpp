#include "particles/behaviour/particle/colour_transforms.h"

#include <algorithm>
#include <cstdint>

namespace {

// (red, green, blue) as 0 to 255 from the low byte up.
D3DXVECTOR3 Channels(uint32_t colour) {
  return D3DXVECTOR3(static_cast<float>(colour & 0xFF), static_cast<float>((colour >> 8) & 0xFF),
                     static_cast<float>((colour >> 16) & 0xFF));
}

}  // namespace

bool PtclTr_Color::Apply(float, ParticleRecord* p) {
  if (colours == nullptr) return true;
  const std::vector<uint32_t>& list = colours->colors.Value();
  const float t = colours->mode2.Value() != 0 ? r : p->floats[ParticleRecord::kLife];
  D3DXVECTOR3& out = p->vectors[ParticleRecord::kColour];
  const size_t n = list.size();
  switch (colours->mode1.Value()) {
    case 2: {
      if (n == 0) return true;
      const float scaled = static_cast<float>(n) * t;
      const size_t index = scaled > 0.0f ? std::min(static_cast<size_t>(scaled), n - 1) : size_t{0};
      out = Channels(list[index]);
      return true;
    }
    case 1: {
      if (n < 2) return true;
      const D3DXVECTOR3 first = Channels(list[0]);
      out = first + (Channels(list[1]) - first) * t;
      return true;
    }
    default:
      if (n > 0) out = Channels(list[0]);
      return true;
  }
}

bool PtclTr_TimePrm::Apply(float, ParticleRecord* p) {
  float* value = Target(p);
  if (value == nullptr || param == nullptr || k + 6 >= ParticleRecord::kFloatCount) return true;
  unsigned cursor = 1;
  *value *= param->FactorAt(p->floats[k + 6], p->floats[ParticleRecord::kLife], &cursor);
  return true;
}
