#include "particles/behaviour/params/color_source_params.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/float_to_int.h"

namespace {

// One channel from c0 towards c1 by b, truncated and kept to its low 8 bits.
uint32_t Blend(uint32_t c0, uint32_t c1, int shift, float b) {
  const float from = static_cast<float>((c0 >> shift) & 0xFF);
  const float to = static_cast<float>((c1 >> shift) & 0xFF);
  const int64_t whole = SaturatingTruncate<int64_t>(from + (to - from) * b);
  return (static_cast<uint32_t>(static_cast<uint64_t>(whole)) & 0xFF) << shift;
}

}  // namespace

ColorSourceParams::ColorSourceParams() : colors({0, {0xFFFFFF}}) {}

std::optional<uint32_t> ColorSourceParams::ColorAt(float t) const {
  if (mode.Value() == 1) {
    const auto& stops = gradient.Value().second;
    if (!(t >= 0.0f && t <= 1.0f) || stops.size() < 2) return 0u;
    for (size_t i = 1; i < stops.size(); ++i) {
      if (t < stops[i].first) {
        const auto& [p0, c0] = stops[i - 1];
        const auto& [p1, c1] = stops[i];
        const float b = (t - p0) / (p1 - p0);
        return Blend(c0, c1, 0, b) | Blend(c0, c1, 8, b) | Blend(c0, c1, 16, b);
      }
    }
    return stops.back().second;
  }
  const auto& list = colors.Value().second;
  // Outside [0, 1] (or NaN) the index would leave the list.
  if (list.empty() || !(t >= 0.0f && t <= 1.0f)) return std::nullopt;
  const auto index =
      static_cast<size_t>(std::floor(static_cast<float>(list.size() - 1) * t + 0.5f));
  return list[std::min(index, list.size() - 1)];
}

void WriteColorSource(DS_IOF_Archive& archive, const ColorSourceParams& source) {
  archive.io().WriteInt32(1);
  archive.io().WriteInt32(source.mode.Value());
  const auto& list = source.colors.Value().second;
  archive.io().WriteDword(static_cast<uint32_t>(list.size()));
  for (const uint32_t colour : list)
    archive.io().WriteDword(colour);
  archive.io().WriteInt32(1);
  const auto& stops = source.gradient.Value().second;
  archive.io().WriteDword(static_cast<uint32_t>(stops.size()));
  for (const auto& [position, colour] : stops) {
    archive.io().WriteFloat(position);
    archive.io().WriteDword(colour);
  }
}

void ReadColorSource(DS_IOF_Archive& archive, DS_SafePtr<ColorSourceParams>& source) {
  if (!source) source = DS_SafePtr<ColorSourceParams>(std::make_unique<ColorSourceParams>());
  int32_t format = 0;
  archive.io().ReadInt32(format);
  archive.io().ReadInt32(source->mode.RawValue());
  ReadDwordVector(archive, source->colors.RawValue().second);
  archive.io().ReadInt32(format);
  auto& stops = source->gradient.RawValue().second;
  stops.clear();
  uint32_t count = 0;
  archive.io().ReadDword(count);
  if (!archive.io().CountFits(count, sizeof(float) + sizeof(uint32_t))) return;
  for (uint32_t i = 0; i < count && !archive.Failed(); ++i) {
    float position = 0.0f;
    uint32_t colour = 0;
    archive.io().ReadFloat(position);
    archive.io().ReadDword(colour);
    stops.emplace_back(position, colour);
  }
}
