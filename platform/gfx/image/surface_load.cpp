// Copies between surfaces with format conversion and filtering.
#include <algorithm>
#include <optional>

#include "platform/gfx/image/d3dx_texture.h"
#include "platform/gfx/image/level_io.h"
#include "platform/gfx/image/resample.h"
#include "platform/gfx/texture_format.h"

using namespace gfx;
using namespace gfx::image;

namespace {

bool Inside(const Rect& r, const SurfaceDesc& d) {
  return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom &&
         uint32_t(r.right) <= d.width && uint32_t(r.bottom) <= d.height;
}

// The whole surface as floats; nothing for a surface that cannot be read.
std::optional<FloatImage> ReadSurface(Surface* surface, const SurfaceDesc& desc) {
  std::vector<uint8_t> bytes;
  uint32_t pitch = 0;
  if (!IsConvertible(desc.format) || Failed(surface->ReadPixels(&bytes, &pitch)))
    return std::nullopt;
  const TextureFormatInfo info = TextureFormatInfo::Of(desc.format);
  if (pitch < info.Pitch(desc.width) || bytes.size() < size_t(pitch) * info.Rows(desc.height))
    return std::nullopt;
  return DecodeLevel(desc.format, bytes.data(), pitch, desc.width, desc.height);
}

FloatImage Crop(const FloatImage& image, const Rect& r) {
  FloatImage out(uint32_t(r.right - r.left), uint32_t(r.bottom - r.top));
  for (uint32_t y = 0; y < out.height; ++y)
    std::copy_n(&image.At(uint32_t(r.left), uint32_t(r.top) + y), out.width, &out.At(0, y));
  return out;
}

}  // namespace

HResult D3DXLoadSurfaceFromSurface(Surface* dest, const Rect* destRect, Surface* source,
                                   const Rect* sourceRect, uint32_t filter, uint32_t colorKey) {
  if (!dest || !source) return kInvalidCall;
  Texture* texture = dest->Container();
  SurfaceDesc destDesc, sourceDesc;
  if (!texture || Failed(dest->GetDesc(&destDesc)) || Failed(source->GetDesc(&sourceDesc)))
    return kInvalidCall;
  const Rect sr =
      sourceRect ? *sourceRect : Rect{0, 0, int32_t(sourceDesc.width), int32_t(sourceDesc.height)};
  const Rect dr =
      destRect ? *destRect : Rect{0, 0, int32_t(destDesc.width), int32_t(destDesc.height)};
  if (!Inside(sr, sourceDesc) || !Inside(dr, destDesc)) return kInvalidCall;
  if (!IsConvertible(destDesc.format) ||
      IsBumpFormat(destDesc.format) != IsBumpFormat(sourceDesc.format))
    return kNotAvailable;
  const TextureFormatInfo info = TextureFormatInfo::Of(destDesc.format);
  if (info.compressed && (dr.left % 4 || dr.top % 4)) return kInvalidCall;

  const auto whole = ReadSurface(source, sourceDesc);
  if (!whole) return kInvalidCall;
  FloatImage part = Crop(*whole, sr);
  ApplyColorKey(part, colorKey);
  part = Resample(part, uint32_t(dr.right - dr.left), uint32_t(dr.bottom - dr.top), filter);

  // The destination level as it is, with the rectangle replaced.
  FloatImage level;
  if (dr.left == 0 && dr.top == 0 && uint32_t(dr.right) == destDesc.width &&
      uint32_t(dr.bottom) == destDesc.height) {
    level = std::move(part);
  } else {
    const auto current = ReadSurface(dest, destDesc);
    if (!current) return kInvalidCall;
    level = *current;
    for (uint32_t y = 0; y < part.height; ++y)
      std::copy_n(&part.At(0, y), part.width, &level.At(uint32_t(dr.left), uint32_t(dr.top) + y));
  }
  return StoreLevel(texture, dest->Level(), EncodeLevel(destDesc.format, level));
}
