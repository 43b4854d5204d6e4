// Small pictures of every format and layout the picture decoder takes.
#include <cstdio>

#include "platform/gfx_image/library_pictures.h"
#include "platform/gfx_image/picture_bytes.h"
#include "tools/fuzz_seeds/fuzz_seeds.h"

namespace fuzz_seeds {

namespace {

using gfx_image_test::EncodePicture;
using gfx_image_test::FileKind;
using gfx_image_test::Words;

// A colour ramp with a varying alpha, odd sizes so that blocks and rows end part-way.
Words Ramp(int width, int height) {
  Words out;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      out.push_back(uint32_t((x * 255 / width) << 16 | (y * 255 / height) << 8 | (x ^ y) * 16) |
                    uint32_t(255 - x * 8) << 24);
  return out;
}

void AddDds(Seeds& out) {
  using gfx::Format;
  auto bytes = [](size_t n, uint8_t seed) {
    std::vector<uint8_t> b(n);
    for (size_t i = 0; i < n; ++i)
      b[i] = uint8_t(i * 37 + seed);
    return b;
  };
  // 8 x 4 with its mip levels down to 1 x 1, in each format the reader takes.
  struct Kind {
    const char* name;
    Format format;
    size_t bytesPerPixel;  // 0: 4 x 4 blocks
    size_t blockBytes;
  };
  const Kind kinds[] = {{"a8r8g8b8", Format::A8R8G8B8, 4, 0},
                        {"x8r8g8b8", Format::X8R8G8B8, 4, 0},
                        {"a8", Format::A8, 1, 0},
                        {"v8u8", Format::V8U8, 2, 0},
                        {"v16u16", Format::V16U16, 4, 0},
                        {"dxt1", Format::Dxt1, 0, 8},
                        {"dxt3", Format::Dxt3, 0, 16},
                        {"dxt5", Format::Dxt5, 0, 16}};
  for (const Kind& k : kinds) {
    std::vector<std::vector<uint8_t>> levels;
    for (uint32_t w = 8, h = 4;; w = std::max(1u, w / 2), h = std::max(1u, h / 2)) {
      const size_t n =
          k.bytesPerPixel ? w * h * k.bytesPerPixel : ((w + 3) / 4) * ((h + 3) / 4) * k.blockBytes;
      levels.push_back(bytes(n, uint8_t(levels.size())));
      if (w == 1 && h == 1) break;
    }
    out.push_back({std::string("dds-") + k.name + "-8x4-mips",
                   gfx_image_test::MakeDds(k.format, 8, 4, levels)});
  }
}

// An 8-bit BMP with a 4-colour palette, bottom-up rows padded to 4 bytes.
std::vector<uint8_t> PaletteBmp() {
  const int width = 5, height = 3, stride = 8;
  std::vector<uint8_t> b(54 + 16 + stride * height, 0);
  auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&b[at], &v, 2); };
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); };
  b[0] = 'B', b[1] = 'M';
  put32(2, uint32_t(b.size()));
  put32(10, 54 + 16);
  put32(14, 40);
  put32(18, width), put32(22, height);
  put16(26, 1), put16(28, 8);
  put32(46, 4);
  const uint32_t palette[] = {0x000000FF, 0x0000FF00, 0x00FF0000, 0x00FFFFFF};
  std::memcpy(&b[54], palette, 16);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      b[70 + y * stride + x] = uint8_t((x + y) % 4);
  return b;
}

}  // namespace

Seeds PictureSeeds() {
  Seeds out;
  const int w = 13, h = 7;
  const Words ramp = Ramp(w, h);
  for (int channels = 1; channels <= 4; ++channels) {
    const std::string suffix = "-" + std::to_string(channels) + "ch-13x7";
    out.push_back({"png" + suffix, EncodePicture(FileKind::Png, w, h, channels, ramp)});
    out.push_back({"tga-rle" + suffix, EncodePicture(FileKind::Tga, w, h, channels, ramp)});
  }
  stbi_write_tga_with_rle = 0;
  out.push_back({"tga-raw-4ch-13x7", EncodePicture(FileKind::Tga, w, h, 4, ramp)});
  stbi_write_tga_with_rle = 1;
  out.push_back({"bmp-3ch-13x7", EncodePicture(FileKind::Bmp, w, h, 3, ramp)});
  out.push_back({"bmp-4ch-13x7", EncodePicture(FileKind::Bmp, w, h, 4, ramp)});
  out.push_back({"bmp-palette-5x3", PaletteBmp()});
  out.push_back({"jpeg-grey-13x7", EncodePicture(FileKind::Jpg, w, h, 1, ramp)});
  out.push_back({"jpeg-444-13x7", EncodePicture(FileKind::Jpg, w, h, 3, ramp)});
  out.push_back({"gif-opaque-2x1", gfx_image_test::TwoPixelGif(false)});
  out.push_back({"gif-transparent-2x1", gfx_image_test::TwoPixelGif(true)});
  AddDds(out);
  using gfx_image_test::JpegLayout;
  using gfx_image_test::LibJpeg;
  using gfx_image_test::LibPng;
  const Words ramp19 = Ramp(19, 11);
  out.push_back({"jpeg-420-progressive-19x11", LibJpeg(19, 11, ramp19, {3, true, false, 0})});
  out.push_back({"jpeg-grey-progressive-19x11", LibJpeg(19, 11, ramp19, {1, true, false, 0})});
  out.push_back({"jpeg-420-restarts-19x11", LibJpeg(19, 11, ramp19, {3, false, false, 1})});
  out.push_back({"jpeg-420-arithmetic-19x11", LibJpeg(19, 11, ramp19, {3, false, true, 0})});
  out.push_back({"jpeg-cmyk-19x11", LibJpeg(19, 11, ramp19, {4, false, false, 0})});
  out.push_back(
      {"png-rgba16-interlaced-9x9", LibPng(9, 9, PNG_COLOR_TYPE_RGB_ALPHA, 16, true).bytes});
  out.push_back({"png-grey16-9x9", LibPng(9, 9, PNG_COLOR_TYPE_GRAY, 16, false).bytes});
  out.push_back({"png-grey2-interlaced-9x9", LibPng(9, 9, PNG_COLOR_TYPE_GRAY, 2, true).bytes});
  out.push_back({"png-palette-trns-9x9", LibPng(9, 9, PNG_COLOR_TYPE_PALETTE, 8, false).bytes});
  out.push_back(
      {"png-palette2-interlaced-9x9", LibPng(9, 9, PNG_COLOR_TYPE_PALETTE, 2, true).bytes});
  return out;
}

}  // namespace fuzz_seeds
