// Reads arbitrary bytes as a picture file (DDS through our reader, the rest through stb_image)
// and converts what it gets, as texture loading does.
#include <cstddef>
#include <cstdint>

#include "platform/gfx/image/dds_reader.h"
#include "platform/gfx/image/picture_decoder.h"
#include "platform/gfx/image/resample.h"
#include "platform/gfx/texture_format.h"

using namespace gfx;
using namespace gfx::image;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  if (LooksLikeDds(bytes)) {
    const auto dds = ReadDds(bytes);
    if (!dds || uint64_t(dds->width) * dds->height > (1u << 16)) return 0;
    const TextureFormatInfo info = TextureFormatInfo::Of(dds->format);
    const FloatImage image = DecodeLevel(dds->format, dds->levels[0].data(), info.Pitch(dds->width),
                                         dds->width, dds->height);
    return EncodeLevel(dds->format, NextMipLevel(image, D3DX_DEFAULT)).empty();
  }
  const auto picture = DecodePicture(bytes);
  if (!picture || uint64_t(picture->width) * picture->height > (1u << 16)) return 0;
  const FloatImage image =
      DecodeLevel(Format::A8R8G8B8, reinterpret_cast<const uint8_t*>(picture->argb.data()),
                  picture->width * 4, picture->width, picture->height);
  return EncodeLevel(Format::Dxt5, Resample(image, 16, 16, D3DX_FILTER_TRIANGLE)).empty();
}
