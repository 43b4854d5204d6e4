#include "renderers/water_ring/refraction_table.h"

#include <cmath>

RefractionTable MakeRefractionTable() {
  constexpr double kIndex = 1.333;
  RefractionTable table;
  for (uint32_t i = 0; i < table.size(); ++i) {
    const double c = i / 256.0;
    const double s = std::sin(std::acos(c));
    const double st = s / kIndex;
    const double ct = std::cos(std::asin(st));
    const uint32_t fade = (255 - i) * (255 - i) * (255 - i);
    table[i] = {static_cast<float>(ct * s / st - c), static_cast<float>(-st / s),
                (fade & ~0xFFFFu) << 8};
  }
  return table;
}

const RefractionTable& SharedRefractionTable() {
  static const RefractionTable table = MakeRefractionTable();
  return table;
}
