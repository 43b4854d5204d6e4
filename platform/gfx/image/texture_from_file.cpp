// Textures from picture files with D3DX's rules for size, levels, format and filtering.
#include <algorithm>
#include <memory>
#include <optional>
#include <span>

#include "platform/gfx/image/d3dx_texture.h"
#include "platform/gfx/image/dds_reader.h"
#include "platform/gfx/image/level_buffers.h"
#include "platform/gfx/image/level_io.h"
#include "platform/gfx/image/level_rows.h"
#include "platform/gfx/image/picture_decoder.h"
#include "platform/gfx/image/resample.h"
#include "platform/gfx/texture_format.h"
#include "platform/sys/file_paths.h"

using namespace gfx;
using namespace gfx::image;

namespace {

// What a file gave: a DDS picture in its own format, or a picture being decoded.
struct Source {
  D3DXIMAGE_INFO info;
  std::optional<DdsImage> dds;
  std::unique_ptr<PictureRows> picture;
};

std::optional<Source> ReadSource(std::span<const uint8_t> bytes) {
  Source s;
  if (LooksLikeDds(bytes)) {
    s.dds = ReadDds(bytes);
    if (!s.dds) return std::nullopt;
    s.info.Width = s.dds->width;
    s.info.Height = s.dds->height;
    s.info.MipLevels = uint32_t(s.dds->levels.size());
    s.info.Format = s.dds->format;
    s.info.ImageFileFormat = D3DXIMAGE_FILEFORMAT::DDS;
    return s;
  }
  s.picture = OpenPicture(bytes);
  if (!s.picture) return std::nullopt;
  const PictureInfo& picture = s.picture->Info();
  s.info.Width = picture.width;
  s.info.Height = picture.height;
  s.info.Format = picture.hasAlpha ? Format::A8R8G8B8 : Format::X8R8G8B8;
  s.info.ImageFileFormat = picture.fileFormat;
  return s;
}

// The rows of a stored level.
RowReader LevelRows(LevelReader& reader) {
  return [&reader](Color4* row) {
    reader.Next(row);
    return true;
  };
}

uint32_t PowerOfTwo(uint32_t v) {
  uint32_t p = 1;
  while (p < v)
    p <<= 1;
  return p;
}

uint32_t TargetSize(uint32_t requested, uint32_t picture, uint32_t maximum) {
  uint32_t size = requested;
  if (requested == 0 || requested == D3DX_DEFAULT)
    size = PowerOfTwo(picture);
  else if (requested == D3DX_DEFAULT_NONPOW2 || requested == D3DX_FROM_FILE)
    size = picture;
  return std::clamp(size, 1u, std::max(maximum, 1u));
}

uint32_t FullChain(uint32_t width, uint32_t height) {
  uint32_t levels = 1;
  for (uint32_t size = std::max(width, height); size > 1; size /= 2)
    ++levels;
  return levels;
}

// A level of transparent black.
std::vector<uint8_t> TransparentLevel(Format format, uint32_t width, uint32_t height) {
  LevelEncoder encoder(format, width, height);
  const std::vector<Color4> black(width);
  for (uint32_t y = 0; y < height; ++y)
    encoder.Write(y, black.data());
  return encoder.Take();
}

// A DDS level in the texture's own format placed in the top-left corner of a larger or
// smaller level, the rest transparent black: filter NONE without a format change.
std::vector<uint8_t> PlaceInCorner(Format format, const std::vector<uint8_t>& source,
                                   uint32_t sourceWidth, uint32_t sourceHeight, uint32_t width,
                                   uint32_t height) {
  const TextureFormatInfo info = TextureFormatInfo::Of(format);
  std::vector<uint8_t> out = TransparentLevel(format, width, height);
  const uint32_t sourcePitch = info.Pitch(sourceWidth), pitch = info.Pitch(width);
  const uint32_t rowBytes = std::min(sourcePitch, pitch);
  const uint32_t rows = std::min(info.Rows(sourceHeight), info.Rows(height));
  for (uint32_t y = 0; y < rows; ++y)
    std::copy_n(&source[size_t(y) * sourcePitch], rowBytes, &out[size_t(y) * pitch]);
  return out;
}

}  // namespace

PreparedPicture D3DXPreparePictureInMemory(std::span<const uint8_t> bytes, uint32_t width,
                                           uint32_t height, uint32_t mipLevels, Format format,
                                           uint32_t filter, uint32_t mipFilter, uint32_t colorKey,
                                           uint32_t maxWidth, uint32_t maxHeight) {
  PreparedPicture prepared;
  prepared.result = D3DXERR_INVALIDDATA;
  if (bytes.empty()) return prepared;
  auto source = ReadSource(bytes);
  if (!source) return prepared;
  prepared.info = source->info;
  prepared.described = true;

  const uint32_t w = TargetSize(width, source->info.Width, maxWidth);
  const uint32_t h = TargetSize(height, source->info.Height, maxHeight);
  const uint32_t full = FullChain(w, h);
  uint32_t levels = mipLevels;
  if (levels == 0 || levels == D3DX_DEFAULT)
    levels = full;
  else if (levels == D3DX_FROM_FILE)
    levels = std::min(source->info.MipLevels, full);
  levels = std::min(levels, full);

  if (format == Format::Unknown || uint32_t(format) == D3DX_FROM_FILE) format = source->info.Format;
  if (format == Format::R8G8B8) format = Format::X8R8G8B8;
  if (!IsConvertible(format) || IsBumpFormat(format) != IsBumpFormat(source->info.Format)) {
    prepared.result = kNotAvailable;
    return prepared;
  }
  prepared.width = w;
  prepared.height = h;
  prepared.format = format;
  prepared.maxWidth = maxWidth;
  prepared.maxHeight = maxHeight;

  const TextureFormatInfo formatInfo = TextureFormatInfo::Of(format);
  for (uint32_t level = 0; level < levels; ++level) {
    const uint32_t lw = std::max(1u, w >> level), lh = std::max(1u, h >> level);
    std::optional<std::vector<uint8_t>> bytes;
    const DdsImage* dds = source->dds ? &*source->dds : nullptr;
    if (dds && level < dds->levels.size()) {
      // The file's own level: copied when nothing changes, else converted and filtered.
      const uint32_t sw = std::max(1u, dds->width >> level),
                     sh = std::max(1u, dds->height >> level);
      const bool sameFormat = dds->format == format && colorKey == 0;
      if (sameFormat && sw == lw && sh == lh) {
        bytes = dds->levels[level];
      } else if (sameFormat && (filter & 0xFF) == D3DX_FILTER_NONE) {
        bytes = PlaceInCorner(format, dds->levels[level], sw, sh, lw, lh);
      } else {
        LevelReader reader(dds->format, dds->levels[level].data(),
                           TextureFormatInfo::Of(dds->format).Pitch(sw), sw, sh);
        bytes = ResampleToLevel(LevelRows(reader), sw, sh, colorKey, format, lw, lh, filter);
      }
    } else if (level == 0) {
      PictureRows& picture = *source->picture;
      const uint32_t pw = picture.Info().width, ph = picture.Info().height;
      std::vector<uint32_t> argb(pw);
      const RowReader read = [&](Color4* row) {
        if (!picture.Read(argb.data())) return false;
        LevelReader(Format::A8R8G8B8, reinterpret_cast<const uint8_t*>(argb.data()), pw * 4, pw, 1)
            .Next(row);
        return true;
      };
      bytes = ResampleToLevel(read, pw, ph, colorKey, format, lw, lh, filter);
    } else if ((mipFilter & 0xFF) == D3DX_FILTER_NONE) {
      bytes = TransparentLevel(format, lw, lh);
    } else {
      const uint32_t pw = std::max(1u, w >> (level - 1)), ph = std::max(1u, h >> (level - 1));
      LevelReader reader(format, prepared.levels.back().data(), formatInfo.Pitch(pw), pw, ph);
      bytes =
          ResampleToLevel(LevelRows(reader), pw, ph, 0, format, lw, lh, MipLevelFilter(mipFilter));
    }
    if (!bytes) {
      // A picture found damaged while decoding goes out without its description.
      prepared.described = false;
      prepared.levels.clear();
      return prepared;
    }
    prepared.levels.push_back(std::move(*bytes));
  }
  prepared.result = kOk;
  return prepared;
}

HResult D3DXCreateTextureFromPrepared(Device* device, PreparedPicture&& prepared, uint32_t usage,
                                      Pool pool, D3DXIMAGE_INFO* info, Texture** out) {
  if (!out) return kInvalidCall;
  *out = nullptr;
  if (!device) return kInvalidCall;
  auto result = [&](HResult hr) {
    if (info && prepared.described) *info = prepared.info;
    return hr;
  };
  if (Failed(prepared.result)) return result(prepared.result);
  Caps caps;
  if (Failed(device->GetDeviceCaps(&caps))) return kInvalidCall;
  // Sizes capped for another device's largest texture would differ from this one's.
  if (caps.maxTextureWidth != prepared.maxWidth || caps.maxTextureHeight != prepared.maxHeight)
    return kInvalidCall;
  ComPtr<Texture> texture;
  if (const HResult hr =
          device->CreateTexture(prepared.width, prepared.height, uint32_t(prepared.levels.size()),
                                usage, prepared.format, pool, texture.Put());
      Failed(hr))
    return result(hr);
  for (uint32_t level = 0; level < prepared.levels.size(); ++level) {
    if (const HResult hr = StoreLevel(texture.Get(), level, prepared.levels[level]); Failed(hr))
      return result(hr);
    ReleaseLevelBuffer(std::move(prepared.levels[level]));  // released as soon as uploaded
  }
  *out = texture.Detach();
  return result(kOk);
}

HResult D3DXCreateTextureFromFileInMemoryEx(Device* device, const void* data, uint32_t size,
                                            uint32_t width, uint32_t height, uint32_t mipLevels,
                                            uint32_t usage, Format format, Pool pool,
                                            uint32_t filter, uint32_t mipFilter, uint32_t colorKey,
                                            D3DXIMAGE_INFO* info, Texture** out) {
  if (!out) return kInvalidCall;
  *out = nullptr;
  if (!device || !data || size == 0) return kInvalidCall;
  Caps caps;
  if (Failed(device->GetDeviceCaps(&caps))) return kInvalidCall;
  return D3DXCreateTextureFromPrepared(
      device,
      D3DXPreparePictureInMemory({static_cast<const uint8_t*>(data), size}, width, height,
                                 mipLevels, format, filter, mipFilter, colorKey,
                                 caps.maxTextureWidth, caps.maxTextureHeight),
      usage, pool, info, out);
}

HResult D3DXCreateTextureFromFileExW(Device* device, const std::filesystem::path& path,
                                     uint32_t width, uint32_t height, uint32_t mipLevels,
                                     uint32_t usage, Format format, Pool pool, uint32_t filter,
                                     uint32_t mipFilter, uint32_t colorKey, D3DXIMAGE_INFO* info,
                                     Texture** out) {
  if (!out) return kInvalidCall;
  *out = nullptr;
  const auto bytes = sys::ReadWholeFile(path);
  if (!bytes || bytes->empty() || bytes->size() > UINT32_MAX) return D3DXERR_INVALIDDATA;
  return D3DXCreateTextureFromFileInMemoryEx(device, bytes->data(), uint32_t(bytes->size()), width,
                                             height, mipLevels, usage, format, pool, filter,
                                             mipFilter, colorKey, info, out);
}
