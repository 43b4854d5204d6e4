#include "platform/gfx/image/level_io.h"

#include <cmath>
#include <cstring>

#include "platform/gfx/texture_format.h"

namespace gfx::image {

HResult StoreLevel(Texture* texture, uint32_t level, const std::vector<uint8_t>& packed) {
  SurfaceDesc desc;
  if (Failed(texture->GetLevelDesc(level, &desc))) return kInvalidCall;
  const TextureFormatInfo& info = texture->FormatInfo();
  const uint32_t rowBytes = info.Pitch(desc.width), rows = info.Rows(desc.height);
  if (packed.size() < size_t(rowBytes) * rows) return kInvalidCall;
  LockedRect locked;
  if (Succeeded(texture->LockRect(level, &locked, nullptr, 0))) {
    for (uint32_t y = 0; y < rows; ++y)
      std::memcpy(static_cast<uint8_t*>(locked.bits) + size_t(y) * uint32_t(locked.pitch),
                  packed.data() + size_t(y) * rowBytes, rowBytes);
    return texture->UnlockRect(level);
  }
  return texture->WriteLevel(level, packed.data(), rowBytes);
}

void ApplyColorKey(FloatImage& image, uint32_t key) {
  if (key == 0) return;
  auto byte = [](float f) {
    return uint32_t(std::lround(std::fmin(std::fmax(f, 0.0f), 1.0f) * 255));
  };
  for (Color4& c : image.pixels) {
    const uint32_t argb = byte(c.a) << 24 | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
    if (argb == key) c = {};
  }
}

}  // namespace gfx::image
