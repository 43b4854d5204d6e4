#include "platform/gfx/image/level_io.h"

#include <cmath>
#include <cstring>
#include <span>

#include "platform/gfx/image/level_rows.h"
#include "platform/gfx/texture_format.h"

namespace gfx::image {

HResult StoreLevel(Texture* texture, uint32_t level, const std::vector<uint8_t>& packed) {
  SurfaceDesc desc;
  if (Failed(texture->GetLevelDesc(level, &desc))) return kInvalidCall;
  const TextureFormatInfo& info = texture->FormatInfo();
  const uint32_t rowBytes = info.Pitch(desc.width), rows = info.Rows(desc.height);
  if (packed.size() < size_t(rowBytes) * rows) return kInvalidCall;
  return texture->WriteLevel(level, packed.data(), rowBytes);
}

std::optional<std::vector<uint8_t>> ResampleToLevel(const RowReader& read, uint32_t sourceWidth,
                                                    uint32_t sourceHeight, uint32_t colorKey,
                                                    Format format, uint32_t width, uint32_t height,
                                                    uint32_t filter) {
  LevelEncoder encoder(format, width, height);
  const RowReader keyed = [&](Color4* row) {
    if (!read(row)) return false;
    ApplyColorKey(row, sourceWidth, colorKey);
    return true;
  };
  if (!ResampleRows(sourceWidth, sourceHeight, keyed, width, height, filter,
                    [&](uint32_t y, const Color4* row) { encoder.Write(y, row); }))
    return std::nullopt;
  return encoder.Take();
}

void ApplyColorKey(FloatImage& image, uint32_t key) {
  ApplyColorKey(image.pixels.data(), image.pixels.size(), key);
}

void ApplyColorKey(Color4* pixels, size_t count, uint32_t key) {
  if (key == 0) return;
  auto byte = [](float f) {
    return uint32_t(std::lround(std::fmin(std::fmax(f, 0.0f), 1.0f) * 255));
  };
  for (Color4& c : std::span(pixels, count)) {
    const uint32_t argb = byte(c.a) << 24 | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
    if (argb == key) c = {};
  }
}

}  // namespace gfx::image
