#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/gfx/image/picture_decoder.h"
#include "platform/gfx_image/library_pictures.h"
#include "platform/gfx_image/picture_bytes.h"

// stb_image's JPEG decoder, which read the projects' JPEGs before libjpeg-turbo did: the
// reference for "the same pixels as before" on valid files, never given damaged ones here.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_JPEG
#include <stb/stb_image.h>

namespace gfx_image_test {
namespace {

using gfx::image::DecodePicture;
using gfx::image::OpenPicture;

// A picture with smooth colour and alpha, odd-sized so that blocks and rows end part-way.
Words Smooth(int width, int height) {
  Words out;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      out.push_back(uint32_t(255 - x * 3) << 24 | uint32_t(x * 255 / width) << 16 |
                    uint32_t(y * 255 / height) << 8 | uint32_t((x + y) * 2));
  return out;
}

// What a lossless file of `channels` stores of the pixels: grey is the red byte.
Words Stored(const Words& pixels, int channels) {
  Words out;
  for (uint32_t p : pixels) {
    const uint32_t r = p >> 16 & 0xFF, a = channels % 2 == 0 ? p >> 24 : 0xFF;
    out.push_back(channels <= 2 ? a << 24 | r << 16 | r << 8 | r : a << 24 | (p & 0xFFFFFF));
  }
  return out;
}

Words StbJpeg(const std::vector<uint8_t>& file) {
  int w = 0, h = 0, n = 0;
  stbi_uc* rgba = stbi_load_from_memory(file.data(), int(file.size()), &w, &h, &n, 4);
  if (!rgba) return {};
  Words out;
  for (int i = 0; i < w * h; ++i)
    out.push_back(0xFF000000u | uint32_t(rgba[4 * i]) << 16 | uint32_t(rgba[4 * i + 1]) << 8 |
                  rgba[4 * i + 2]);
  stbi_image_free(rgba);
  return out;
}

int LargestDifference(const Words& a, const Words& b) {
  int largest = 0;
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    for (int shift = 0; shift < 32; shift += 8)
      largest = std::max(largest, std::abs(int(a[i] >> shift & 0xFF) - int(b[i] >> shift & 0xFF)));
  return largest;
}

TEST(PictureDecoder, LosslessFilesGiveTheirPixels) {
  struct Case {
    std::string name;
    std::vector<uint8_t> file;
    Words pixels;
    bool hasAlpha;
    D3DXIMAGE_FILEFORMAT format;
  };
  const int w = 13, h = 7;
  const Words smooth = Smooth(w, h);
  std::vector<Case> cases;
  for (int channels = 1; channels <= 4; ++channels) {
    const bool alpha = channels % 2 == 0;
    const std::string n = std::to_string(channels);
    cases.push_back({"png " + n, EncodePicture(FileKind::Png, w, h, channels, smooth),
                     Stored(smooth, channels), alpha, D3DXIMAGE_FILEFORMAT::PNG});
    cases.push_back({"tga " + n, EncodePicture(FileKind::Tga, w, h, channels, smooth),
                     Stored(smooth, channels), alpha, D3DXIMAGE_FILEFORMAT::TGA});
  }
  cases.push_back({"bmp", EncodePicture(FileKind::Bmp, w, h, 3, smooth), Stored(smooth, 3), false,
                   D3DXIMAGE_FILEFORMAT::BMP});
  struct Layout {
    const char* name;
    int colorType, depth;
    bool interlaced, hasAlpha;
  };
  const Layout layouts[] = {
      {"png rgba 16-bit interlaced", PNG_COLOR_TYPE_RGB_ALPHA, 16, true, true},
      {"png rgb 16-bit", PNG_COLOR_TYPE_RGB, 16, false, false},
      {"png grey 16-bit", PNG_COLOR_TYPE_GRAY, 16, false, false},
      {"png grey alpha interlaced", PNG_COLOR_TYPE_GRAY_ALPHA, 8, true, true},
      {"png grey 1-bit", PNG_COLOR_TYPE_GRAY, 1, false, false},
      {"png grey 2-bit interlaced", PNG_COLOR_TYPE_GRAY, 2, true, false},
      {"png grey 4-bit", PNG_COLOR_TYPE_GRAY, 4, false, false},
      {"png palette with transparency", PNG_COLOR_TYPE_PALETTE, 8, false, true},
      {"png palette 2-bit interlaced", PNG_COLOR_TYPE_PALETTE, 2, true, true},
  };
  for (const Layout& l : layouts) {
    PngFile png = LibPng(11, 9, l.colorType, l.depth, l.interlaced);
    cases.push_back({l.name, std::move(png.bytes), std::move(png.pixels), l.hasAlpha,
                     D3DXIMAGE_FILEFORMAT::PNG});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    const auto picture = DecodePicture(c.file, &error);
    ASSERT_TRUE(picture) << error;
    EXPECT_EQ(picture->fileFormat, c.format);
    EXPECT_EQ(picture->hasAlpha, c.hasAlpha);
    EXPECT_EQ(picture->width * picture->height, c.pixels.size());
    EXPECT_EQ(picture->argb, c.pixels);
  }
}

TEST(PictureDecoder, JpegsDecodeAsBeforeInEveryCoding) {
  const int w = 37, h = 21;
  const Words smooth = Smooth(w, h);
  struct Case {
    const char* name;
    int components;
  };
  for (const Case& c : {Case{"colour 4:2:0", 3}, Case{"grey", 1}, Case{"cmyk", 4}}) {
    SCOPED_TRACE(c.name);
    const auto baseline = LibJpeg(w, h, smooth, {c.components});
    const auto reference = DecodePicture(baseline);
    ASSERT_TRUE(reference);
    EXPECT_EQ(reference->fileFormat, D3DXIMAGE_FILEFORMAT::JPG);
    EXPECT_FALSE(reference->hasAlpha);
    ASSERT_EQ(reference->width, uint32_t(w));
    ASSERT_EQ(reference->height, uint32_t(h));
    // stb_image's pixels, up to the rounding of its own IDCT, chroma upsampling and colour
    // conversion.
    EXPECT_LE(LargestDifference(reference->argb, StbJpeg(baseline)), 3);
    // Progressive, restart-marker and arithmetic coding store the same coefficients: the same
    // pixels (stb_image could not read arithmetic coding at all).
    for (const JpegLayout& layout :
         {JpegLayout{c.components, true}, JpegLayout{c.components, false, false, 1},
          JpegLayout{c.components, false, true}}) {
      const auto other = DecodePicture(LibJpeg(w, h, smooth, layout));
      ASSERT_TRUE(other);
      EXPECT_EQ(other->argb, reference->argb);
    }
  }
  // A JPEG from stb's own writer.
  const auto stbFile = EncodePicture(FileKind::Jpg, w, h, 3, smooth);
  const auto picture = DecodePicture(stbFile);
  ASSERT_TRUE(picture);
  EXPECT_LE(LargestDifference(picture->argb, StbJpeg(stbFile)), 3);
}

TEST(PictureDecoder, RowsComeOneAtATimeFromTheTop) {
  const PngFile png = LibPng(6, 5, PNG_COLOR_TYPE_RGB, 8, false);
  const auto jpeg = LibJpeg(6, 5, png.pixels, {});
  for (const auto* file : {&png.bytes, &jpeg}) {
    const auto whole = DecodePicture(*file);
    ASSERT_TRUE(whole);
    const auto rows = OpenPicture(*file);
    ASSERT_TRUE(rows);
    Words row(6);
    for (uint32_t y = 0; y < 5; ++y) {
      ASSERT_TRUE(rows->Read(row.data()));
      EXPECT_TRUE(std::equal(row.begin(), row.end(), whole->argb.begin() + y * 6)) << y;
    }
    EXPECT_FALSE(rows->Read(row.data()));
  }
}

// The bytes of a PNG with its IHDR's width and height replaced (checksums are not checked).
std::vector<uint8_t> PngClaiming(uint32_t width, uint32_t height) {
  auto png = LibPng(4, 4, PNG_COLOR_TYPE_GRAY, 8, false).bytes;
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = uint8_t(width >> (24 - 8 * i));
    png[20 + i] = uint8_t(height >> (24 - 8 * i));
  }
  return png;
}

// A JPEG with its frame header's height and width replaced.
std::vector<uint8_t> JpegClaiming(uint16_t width, uint16_t height) {
  auto jpeg = LibJpeg(8, 8, Words(64, 0xFF808080), {});
  for (size_t i = 2; i + 8 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = uint8_t(height >> 8), jpeg[i + 6] = uint8_t(height);
      jpeg[i + 7] = uint8_t(width >> 8), jpeg[i + 8] = uint8_t(width);
      break;
    }
  }
  return jpeg;
}

std::vector<uint8_t> Base64(const std::string& text) {
  const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::vector<uint8_t> out;
  uint32_t bits = 0;
  int count = 0;
  for (char c : text) {
    if (c == '=') break;
    bits = bits << 6 | uint32_t(alphabet.find(c));
    if ((count += 6) >= 8) out.push_back(uint8_t(bits >> (count -= 8)));
  }
  return out;
}

TEST(PictureDecoder, DamagedAndOversizedFilesFailWithAReason) {
  auto truncatedPng = LibPng(40, 40, PNG_COLOR_TYPE_RGB, 8, false).bytes;
  truncatedPng.resize(truncatedPng.size() * 2 / 3);
  auto truncatedInterlaced = LibPng(40, 40, PNG_COLOR_TYPE_RGB, 8, true).bytes;
  truncatedInterlaced.resize(truncatedInterlaced.size() * 2 / 3);
  struct Case {
    const char* name;
    std::vector<uint8_t> file;
  };
  const Case cases[] = {
      {"png cut in its pixels", truncatedPng},
      {"interlaced png cut in its pixels", truncatedInterlaced},
      // The 17 bytes on which stb_image wrote past its Huffman tables.
      {"jpeg of a broken Huffman table", Base64("/9j/////xAMAAAAtvu6+vr4=")},
      {"jpeg of only its start", {0xFF, 0xD8}},
      // Sizes that would take gigabytes, claimed by files of a few hundred bytes.
      {"png claiming 16384 x 16384", PngClaiming(16384, 16384)},
      {"png claiming 20000 x 4", PngClaiming(20000, 4)},
      {"png claiming 0 x 4", PngClaiming(0, 4)},
      {"jpeg claiming 60000 x 60000", JpegClaiming(60000, 60000)},
      {"jpeg claiming 8192 x 8192", JpegClaiming(8192, 8192)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_FALSE(DecodePicture(c.file, &error));
    EXPECT_FALSE(error.empty());
  }
  // A damaged checksum is not checked, as before.
  auto png = LibPng(3, 3, PNG_COLOR_TYPE_RGB, 8, false);
  png.bytes[png.bytes.size() - 20] ^= 0xFF;  // inside the IDAT chunk's CRC
  const auto picture = DecodePicture(png.bytes);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->argb, png.pixels);
}

}  // namespace
}  // namespace gfx_image_test
