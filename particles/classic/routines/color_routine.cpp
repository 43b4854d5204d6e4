#include "particles/classic/routines/color_routine.h"

#include <algorithm>
#include <cmath>

#include "core/float_to_int.h"

namespace {

// Byte j of the blend of a and b at f, truncated and taken as a byte.
uint32_t BlendByte(uint32_t a, uint32_t b, int j, float f) {
  const float from = static_cast<float>((a >> (8 * j)) & 0xFF);
  const float to = static_cast<float>((b >> (8 * j)) & 0xFF);
  return static_cast<uint32_t>(SaturatingTruncate<int>((to - from) * f + from)) & 0xFF;
}

}  // namespace

bool IPR_Color::Apply(float, RoutineParticle& p) {
  if (colours == nullptr) return true;
  const std::vector<uint32_t>& c = colours->colors.Value();
  if (c.empty()) return true;
  const int mode = colours->mode1.Value();
  if (mode == 0) {
    p.colour = c[0];
    return true;
  }
  const float f = colours->mode2.Value() != 0 ? phase : p.age / p.LifeLimit();
  if (mode == 1) {
    const uint32_t second = c[std::min<size_t>(1, c.size() - 1)];
    p.colour = BlendByte(c[0], second, 2, f) << 16 | BlendByte(c[0], second, 1, f) << 8 |
               BlendByte(c[0], second, 0, f);
    return true;
  }
  const float last = static_cast<float>(c.size() - 1);
  const float at = std::nearbyint(last * f);
  const size_t i = at > 0.0f ? static_cast<size_t>(std::min(at, last)) : 0;
  p.colour = c[i];
  return true;
}
