// Reads arbitrary bytes as a picture file (DDS through our reader, JPEG through libjpeg-turbo,
// PNG through libpng, BMP, TGA and GIF through stb_image) and converts what it gets row by row,
// as texture loading does.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gfx/image/dds_reader.h"
#include "platform/gfx/image/level_io.h"
#include "platform/gfx/image/level_rows.h"
#include "platform/gfx/image/picture_decoder.h"
#include "platform/gfx/image/resample.h"
#include "platform/gfx/texture_format.h"

using namespace gfx;
using namespace gfx::image;

namespace {

// Pixels converted per input, so that each input stays fast; larger pictures are cut short.
constexpr uint64_t kPixels = 1u << 16;

uint32_t RowsToRead(uint32_t width, uint32_t height) {
  return uint32_t(std::clamp<uint64_t>(kPixels / std::max(width, 1u), 1, height));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  if (LooksLikeDds(bytes)) {
    const auto dds = ReadDds(bytes);
    if (!dds) return 0;
    const TextureFormatInfo info = TextureFormatInfo::Of(dds->format);
    LevelReader reader(dds->format, dds->levels[0].data(), info.Pitch(dds->width), dds->width,
                       dds->height);
    const auto level = ResampleToLevel(
        [&](Color4* row) {
          reader.Next(row);
          return true;
        },
        dds->width, RowsToRead(dds->width, dds->height), 0, dds->format,
        std::max(1u, dds->width / 2), 2, MipLevelFilter(D3DX_DEFAULT));
    return level && level->empty();
  }
  const auto picture = OpenPicture(bytes);
  if (!picture) return 0;
  const uint32_t width = picture->Info().width;
  std::vector<uint32_t> argb(width);
  const auto level = ResampleToLevel(
      [&](Color4* row) {
        if (!picture->Read(argb.data())) return false;
        LevelReader(Format::A8R8G8B8, reinterpret_cast<const uint8_t*>(argb.data()), width * 4,
                    width, 1)
            .Next(row);
        return true;
      },
      width, RowsToRead(width, picture->Info().height), 0xFF000000, Format::Dxt5, 16, 16,
      D3DX_FILTER_TRIANGLE);
  return level && level->empty();
}
