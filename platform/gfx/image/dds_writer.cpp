#include "platform/gfx/image/dds_writer.h"

#include <algorithm>
#include <cstring>

#include "platform/gfx/texture_format.h"

namespace gfx::image {

namespace {

// The DDS pixel format of a texture format: flags, four-character code, bits and masks.
struct PixelFormat {
  uint32_t flags, fourCc, bits, r, g, b, a;
};

constexpr uint32_t kAlphaPixels = 0x1, kAlphaOnly = 0x2, kFourCcFlag = 0x4, kRgb = 0x40,
                   kBumpDuDv = 0x80000;

bool PixelFormatOf(Format format, PixelFormat& out) {
  switch (format) {
    case Format::A8R8G8B8:
      out = {kRgb | kAlphaPixels, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000};
      return true;
    case Format::X8R8G8B8:
      out = {kRgb, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0};
      return true;
    case Format::A8:
      out = {kAlphaOnly, 0, 8, 0, 0, 0, 0xFF};
      return true;
    case Format::V8U8:
      out = {kBumpDuDv, 0, 16, 0xFF, 0xFF00, 0, 0};
      return true;
    case Format::V16U16:
      out = {kBumpDuDv, 0, 32, 0xFFFF, 0xFFFF0000, 0, 0};
      return true;
    case Format::Dxt1:
    case Format::Dxt3:
    case Format::Dxt5:
      out = {kFourCcFlag, uint32_t(format), 0, 0, 0, 0, 0};
      return true;
    default:
      return false;
  }
}

void PutDword(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes[at + i] = uint8_t(value >> (8 * i));
}

}  // namespace

std::vector<uint8_t> WriteDds(const DdsImage& image) {
  PixelFormat pf{};
  if (!PixelFormatOf(image.format, pf)) return {};
  if (image.width == 0 || image.height == 0 || image.width > kMaxPictureSize ||
      image.height > kMaxPictureSize || image.levels.empty())
    return {};
  uint32_t fullChain = 1;
  for (uint32_t size = std::max(image.width, image.height); size > 1; size /= 2)
    ++fullChain;
  if (image.levels.size() > fullChain) return {};
  const TextureFormatInfo info = TextureFormatInfo::Of(image.format);
  for (size_t i = 0; i < image.levels.size(); ++i) {
    const uint32_t w = std::max(1u, image.width >> i), h = std::max(1u, image.height >> i);
    if (image.levels[i].size() != size_t(info.Pitch(w)) * info.Rows(h)) return {};
  }

  const uint32_t levels = static_cast<uint32_t>(image.levels.size());
  std::vector<uint8_t> out(128, 0);
  std::memcpy(out.data(), "DDS ", 4);
  // Caps, height, width and pixel format are always given; the level count when there are more.
  constexpr uint32_t kRequired = 0x1007, kMipCount = 0x20000;
  constexpr uint32_t kTexture = 0x1000, kComplexMipMap = 0x400008;
  PutDword(out, 4, 124);
  PutDword(out, 8, kRequired | (levels > 1 ? kMipCount : 0));
  PutDword(out, 12, image.height);
  PutDword(out, 16, image.width);
  PutDword(out, 28, levels);
  PutDword(out, 76, 32);
  PutDword(out, 80, pf.flags);
  PutDword(out, 84, pf.fourCc);
  PutDword(out, 88, pf.bits);
  PutDword(out, 92, pf.r);
  PutDword(out, 96, pf.g);
  PutDword(out, 100, pf.b);
  PutDword(out, 104, pf.a);
  PutDword(out, 108, kTexture | (levels > 1 ? kComplexMipMap : 0));
  for (const std::vector<uint8_t>& level : image.levels)
    out.insert(out.end(), level.begin(), level.end());
  return out;
}

HResult SaveTextureAsDds(const Texture* texture, std::vector<uint8_t>* out) {
  if (out == nullptr) return kInvalidCall;
  out->clear();
  if (texture == nullptr) return kInvalidCall;
  DdsImage image;
  image.format = texture->GetFormat();
  image.width = texture->Width();
  image.height = texture->Height();
  std::vector<uint8_t> level;
  uint32_t pitch = 0;
  if (Failed(texture->ReadLevel(0, &level, &pitch))) return kInvalidCall;
  image.levels.push_back(std::move(level));
  *out = WriteDds(image);
  return out->empty() ? kInvalidCall : kOk;
}

}  // namespace gfx::image
