// Copies between surfaces with format conversion and filtering.
#include <algorithm>
#include <optional>

#include "platform/gfx/image/d3dx_texture.h"
#include "platform/gfx/image/level_io.h"
#include "platform/gfx/image/level_rows.h"
#include "platform/gfx/image/resample.h"
#include "platform/gfx/texture_format.h"

using namespace gfx;
using namespace gfx::image;

namespace {

bool Inside(const Rect& r, const SurfaceDesc& d) {
  return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom &&
         uint32_t(r.right) <= d.width && uint32_t(r.bottom) <= d.height;
}

// A surface's stored bytes; false for a surface that cannot be read.
bool ReadBytes(Surface* surface, const SurfaceDesc& desc, std::vector<uint8_t>* bytes,
               uint32_t* pitch) {
  if (!IsConvertible(desc.format) || Failed(surface->ReadPixels(bytes, pitch))) return false;
  const TextureFormatInfo info = TextureFormatInfo::Of(desc.format);
  return *pitch >= info.Pitch(desc.width) &&
         bytes->size() >= size_t(*pitch) * info.Rows(desc.height);
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

  // The source rectangle, read a row at a time.
  std::vector<uint8_t> sourceBytes;
  uint32_t sourcePitch = 0;
  if (!ReadBytes(source, sourceDesc, &sourceBytes, &sourcePitch)) return kInvalidCall;
  LevelReader reader(sourceDesc.format, sourceBytes.data(), sourcePitch, sourceDesc.width,
                     sourceDesc.height);
  std::vector<Color4> whole(sourceDesc.width);
  for (int32_t y = 0; y < sr.top; ++y)
    reader.Next(whole.data());
  const uint32_t sw = uint32_t(sr.right - sr.left), sh = uint32_t(sr.bottom - sr.top);
  const RowReader read = [&](Color4* row) {
    reader.Next(whole.data());
    std::copy_n(whole.begin() + sr.left, sw, row);
    return true;
  };
  const uint32_t dw = uint32_t(dr.right - dr.left), dh = uint32_t(dr.bottom - dr.top);

  if (dw == destDesc.width && dh == destDesc.height) {
    const auto level = ResampleToLevel(read, sw, sh, colorKey, destDesc.format, dw, dh, filter);
    return level ? StoreLevel(texture, dest->Level(), *level) : kInvalidCall;
  }
  // The destination level as it is, with the rectangle replaced.
  std::vector<uint8_t> destBytes;
  uint32_t destPitch = 0;
  if (!ReadBytes(dest, destDesc, &destBytes, &destPitch)) return kInvalidCall;
  FloatImage level =
      DecodeLevel(destDesc.format, destBytes.data(), destPitch, destDesc.width, destDesc.height);
  const RowReader keyed = [&](Color4* row) {
    read(row);
    ApplyColorKey(row, sw, colorKey);
    return true;
  };
  ResampleRows(sw, sh, keyed, dw, dh, filter, [&](uint32_t y, const Color4* row) {
    std::copy_n(row, dw, &level.At(uint32_t(dr.left), uint32_t(dr.top) + y));
  });
  return StoreLevel(texture, dest->Level(), EncodeLevel(destDesc.format, level));
}
