#pragma once

// Picture files laid out the ways stb's writer cannot: progressive, arithmetic, CMYK and
// restart-marker JPEGs; interlaced, 16-bit, low-depth and palette PNGs. Written with libjpeg
// and libpng, for the decoder's tests and the fuzz seeds.
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "platform/gfx_image/picture_bytes.h"

namespace gfx_image_test {

struct JpegLayout {
  int components = 3;  // 1 grey (the red byte), 3 colour, 4 CMYK with an Adobe marker
  bool progressive = false;
  bool arithmetic = false;
  int restartRows = 0;
  int quality = 80;
};

// `pixels` (0xAARRGGBB) as a JPEG without alpha. CMYK stores the colour bytes as C, M and Y
// (Adobe's inverted inks) and the alpha byte as K, so that its RGB is colour * alpha / 255.
inline std::vector<uint8_t> LibJpeg(int width, int height, const Words& pixels,
                                    const JpegLayout& layout) {
  jpeg_compress_struct c;
  jpeg_error_mgr errors;
  c.err = jpeg_std_error(&errors);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = JDIMENSION(width);
  c.image_height = JDIMENSION(height);
  c.input_components = layout.components;
  c.in_color_space = layout.components == 1   ? JCS_GRAYSCALE
                     : layout.components == 4 ? JCS_CMYK
                                              : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, layout.quality, TRUE);
  if (layout.progressive) jpeg_simple_progression(&c);
  c.arith_code = layout.arithmetic ? TRUE : FALSE;
  c.restart_in_rows = layout.restartRows;
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(size_t(width) * layout.components);
  while (c.next_scanline < c.image_height) {
    for (int x = 0; x < width; ++x) {
      const uint32_t p = pixels[c.next_scanline * width + x];
      for (int k = 0; k < layout.components; ++k)
        row[x * layout.components + k] = k == 3 ? uint8_t(p >> 24) : uint8_t(p >> (16 - 8 * k));
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&c);
  std::free(buffer);
  return out;
}

// The layout of a PNG to write.
struct PngHeader {
  int width = 0, height = 0;
  int colorType = PNG_COLOR_TYPE_RGB;  // PNG_COLOR_TYPE_*
  int depth = 8;                       // bits a sample
  bool interlaced = false;
  int compressionLevel = -1;  // zlib's, -1 its default
};

// A PNG of `header` whose rows of packed samples `fill(y, row)` writes (once per interlace
// pass); `beforeInfo`, when given, adds chunks such as a palette before the header is written.
inline std::vector<uint8_t> WritePng(
    const PngHeader& header, const std::function<void(int y, uint8_t* row)>& fill,
    const std::function<void(png_structp, png_infop)>& beforeInfo = {}) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, png_size_t n) {
        auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
        bytes->insert(bytes->end(), data, data + n);
      },
      nullptr);
  if (header.compressionLevel >= 0) png_set_compression_level(png, header.compressionLevel);
  png_set_IHDR(png, info, png_uint_32(header.width), png_uint_32(header.height), header.depth,
               header.colorType, header.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (beforeInfo) beforeInfo(png, info);
  png_write_info(png, info);
  std::vector<uint8_t> row(png_get_rowbytes(png, info), 0);
  const int passes = png_set_interlace_handling(png);
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = 0; y < header.height; ++y) {
      fill(y, row.data());
      png_write_row(png, row.data());
    }
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// A PNG whose samples follow a pattern, and the pixels a decoder must give for it.
struct PngFile {
  std::vector<uint8_t> bytes;
  Words pixels;
};

// A width x height PNG of `colorType` (PNG_COLOR_TYPE_*) and `depth` bits a sample. A palette
// file has four colours (red, green, blue, white), the first transparent and the second half so.
inline PngFile LibPng(int width, int height, int colorType, int depth, bool interlaced) {
  PngFile file;
  const png_color palette[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  const png_byte alpha[2] = {0, 128};
  const int channels = colorType == PNG_COLOR_TYPE_RGB_ALPHA    ? 4
                       : colorType == PNG_COLOR_TYPE_RGB        ? 3
                       : colorType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                : 1;
  const size_t rowBytes = (size_t(width) * channels * depth + 7) / 8;
  std::vector<std::vector<uint8_t>> rows(size_t(height), std::vector<uint8_t>(rowBytes, 0));
  for (int y = 0; y < height; ++y)
    for (size_t i = 0; i < rowBytes; ++i)
      rows[y][i] = uint8_t(colorType == PNG_COLOR_TYPE_PALETTE && depth == 8 ? (i + y) % 4
                                                                             : i * 29 + y * 71);
  file.bytes = WritePng(
      {width, height, colorType, depth, interlaced},
      [&](int y, uint8_t* row) { std::copy(rows[y].begin(), rows[y].end(), row); },
      [&](png_structp png, png_infop info) {
        if (colorType != PNG_COLOR_TYPE_PALETTE) return;
        png_set_PLTE(png, info, palette, 4);
        png_set_tRNS(png, info, alpha, 2, nullptr);
      });

  // Sample k of pixel x in row y, as 8 bits: the high byte of 16-bit samples, low depths
  // spread over 0-255 (palette indices as they are).
  auto sample = [&](int y, int x, int k) {
    const size_t bit = (size_t(x) * channels + k) * depth;
    const uint8_t* r = rows[y].data();
    if (depth >= 8) return uint32_t(r[bit / 8]);
    const uint32_t v = (r[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
    return colorType == PNG_COLOR_TYPE_PALETTE ? v : v * 255 / ((1u << depth) - 1);
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t r, g, b, a = 255;
      switch (colorType) {
        case PNG_COLOR_TYPE_PALETTE: {
          const uint32_t index = sample(y, x, 0);
          r = palette[index].red, g = palette[index].green, b = palette[index].blue;
          if (index < 2) a = alpha[index];
          break;
        }
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_GRAY_ALPHA:
          r = g = b = sample(y, x, 0);
          if (colorType == PNG_COLOR_TYPE_GRAY_ALPHA) a = sample(y, x, 1);
          break;
        default:
          r = sample(y, x, 0), g = sample(y, x, 1), b = sample(y, x, 2);
          if (colorType == PNG_COLOR_TYPE_RGB_ALPHA) a = sample(y, x, 3);
      }
      file.pixels.push_back(a << 24 | r << 16 | g << 8 | b);
    }
  }
  return file;
}

}  // namespace gfx_image_test
