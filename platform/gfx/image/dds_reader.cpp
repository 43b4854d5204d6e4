#include "platform/gfx/image/dds_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/gfx/texture_format.h"

namespace gfx::image {

namespace {

// Offsets of the fields read, in bytes from the start of the file (the tag takes 4).
constexpr size_t kHeaderEnd = 4 + 124;
constexpr size_t kHeaderSize = 4, kFlags = 8, kHeight = 12, kWidth = 16, kMipCount = 28;
constexpr size_t kPfFlags = 80, kFourCc = 84, kBitCount = 88, kRMask = 92, kGMask = 96,
                 kBMask = 100, kAMask = 104, kCaps2 = 112;

constexpr uint32_t kMipCountFlag = 0x20000;
constexpr uint32_t kAlphaPixels = 0x1, kAlphaOnly = 0x2, kFourCcFlag = 0x4, kRgb = 0x40,
                   kBumpDuDv = 0x80000;
constexpr uint32_t kCubeMap = 0x200, kVolume = 0x200000;

uint32_t Dword(std::span<const uint8_t> b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
         uint32_t(b[at + 3]) << 24;
}

std::optional<DdsImage> Fail(std::string* error, const char* reason) {
  if (error) *error = reason;
  return std::nullopt;
}

Format PixelFormat(std::span<const uint8_t> b) {
  const uint32_t flags = Dword(b, kPfFlags), fourCc = Dword(b, kFourCc);
  const uint32_t bits = Dword(b, kBitCount);
  const uint32_t r = Dword(b, kRMask), g = Dword(b, kGMask), bl = Dword(b, kBMask),
                 a = Dword(b, kAMask);
  if (flags & kFourCcFlag) {
    switch (fourCc) {
      case MakeFourCc('D', 'X', 'T', '1'):
        return Format::Dxt1;
      case MakeFourCc('D', 'X', 'T', '3'):
        return Format::Dxt3;
      case MakeFourCc('D', 'X', 'T', '5'):
        return Format::Dxt5;
      // Some writers store the format number itself as the four-character code.
      case uint32_t(Format::A8R8G8B8):
      case uint32_t(Format::X8R8G8B8):
      case uint32_t(Format::A8):
      case uint32_t(Format::V8U8):
      case uint32_t(Format::V16U16):
        return Format(fourCc);
      default:
        return Format::Unknown;
    }
  }
  if ((flags & kRgb) && bits == 32 && r == 0xFF0000 && g == 0xFF00 && bl == 0xFF)
    return (flags & kAlphaPixels) && a == 0xFF000000 ? Format::A8R8G8B8 : Format::X8R8G8B8;
  if ((flags & kAlphaOnly) && bits == 8 && a == 0xFF) return Format::A8;
  if (flags & kBumpDuDv) {
    if (bits == 16 && r == 0xFF && g == 0xFF00) return Format::V8U8;
    if (bits == 32 && r == 0xFFFF && g == 0xFFFF0000) return Format::V16U16;
  }
  return Format::Unknown;
}

}  // namespace

bool LooksLikeDds(std::span<const uint8_t> bytes) {
  return bytes.size() >= 4 && std::memcmp(bytes.data(), "DDS ", 4) == 0;
}

std::optional<DdsImage> ReadDds(std::span<const uint8_t> bytes, std::string* error) {
  if (!LooksLikeDds(bytes)) return Fail(error, "not a DDS file");
  if (bytes.size() < kHeaderEnd || Dword(bytes, kHeaderSize) != 124)
    return Fail(error, "truncated DDS header");
  if (Dword(bytes, kCaps2) & (kCubeMap | kVolume))
    return Fail(error, "cube and volume maps are not supported");
  DdsImage image;
  image.format = PixelFormat(bytes);
  if (image.format == Format::Unknown) return Fail(error, "unsupported DDS pixel format");
  image.width = Dword(bytes, kWidth);
  image.height = Dword(bytes, kHeight);
  if (image.width == 0 || image.height == 0 || image.width > kMaxPictureSize ||
      image.height > kMaxPictureSize)
    return Fail(error, "bad DDS picture size");

  uint32_t fullChain = 1;
  for (uint32_t size = std::max(image.width, image.height); size > 1; size /= 2)
    ++fullChain;
  uint32_t levels = 1;
  if ((Dword(bytes, kFlags) & kMipCountFlag) && Dword(bytes, kMipCount) > 0)
    levels = std::min(Dword(bytes, kMipCount), fullChain);

  const TextureFormatInfo info = TextureFormatInfo::Of(image.format);
  size_t at = kHeaderEnd;
  for (uint32_t i = 0; i < levels; ++i) {
    const uint32_t w = std::max(1u, image.width >> i), h = std::max(1u, image.height >> i);
    const size_t size = size_t(info.Pitch(w)) * info.Rows(h);
    if (bytes.size() - at < size) return Fail(error, "DDS levels are truncated");
    image.levels.emplace_back(bytes.begin() + long(at), bytes.begin() + long(at + size));
    at += size;
  }
  return image;
}

}  // namespace gfx::image
