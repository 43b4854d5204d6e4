#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "platform/gfx/formats.h"
#include "platform/gfx/texture_format.h"

// Picture files made in memory for the tests.
namespace gfx_image_test {

// Words as 0xAARRGGBB words, row by row from the top.
using Words = std::vector<uint32_t>;

enum class FileKind { Png, Bmp, Tga, Jpg };

// A file of `kind` with `channels` (1 grey, 2 grey and alpha, 3 colour, 4 colour and alpha).
inline std::vector<uint8_t> EncodePicture(FileKind kind, int width, int height, int channels,
                                          const Words& pixels) {
  std::vector<uint8_t> raw;
  for (uint32_t p : pixels) {
    const uint8_t r = uint8_t(p >> 16), g = uint8_t(p >> 8), b = uint8_t(p), a = uint8_t(p >> 24);
    switch (channels) {
      case 1:
        raw.push_back(r);
        break;
      case 2:
        raw.insert(raw.end(), {r, a});
        break;
      case 3:
        raw.insert(raw.end(), {r, g, b});
        break;
      default:
        raw.insert(raw.end(), {r, g, b, a});
    }
  }
  std::vector<uint8_t> out;
  auto write = [](void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(context);
    bytes->insert(bytes->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
  };
  switch (kind) {
    case FileKind::Png:
      stbi_write_png_to_func(write, &out, width, height, channels, raw.data(), width * channels);
      break;
    case FileKind::Bmp:
      stbi_write_bmp_to_func(write, &out, width, height, channels, raw.data());
      break;
    case FileKind::Tga:
      stbi_write_tga_to_func(write, &out, width, height, channels, raw.data());
      break;
    case FileKind::Jpg:
      stbi_write_jpg_to_func(write, &out, width, height, channels, raw.data(), 95);
      break;
  }
  return out;
}

// A 2 x 1 GIF: a red pixel and, with `transparent`, a transparent one (else a blue one).
inline std::vector<uint8_t> TwoPixelGif(bool transparent) {
  std::vector<uint8_t> gif = {
      'G',  'I', 'F', '8',  '9', 'a', 2, 0, 1,   0,
      0x80, 0,   0,   0xFF, 0,   0,   0, 0, 0xFF};  // two-colour table: red, blue
  if (transparent) gif.insert(gif.end(), {0x21, 0xF9, 4, 1, 0, 0, 1, 0});  // index 1 clear
  gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0});                // the image, 2 x 1
  // LZW with 2-bit codes: clear, 0, 1, end, three bits each.
  gif.insert(gif.end(), {2, 2, 0x44, 0x0A, 0, 0x3B});
  return gif;
}

// The packed bytes of one width x height level of `format` (blocks for DXT), in a pattern that
// shows any reordering.
inline std::vector<uint8_t> PackedLevel(gfx::Format format, uint32_t width, uint32_t height,
                                        uint8_t seed) {
  const gfx::TextureFormatInfo info = gfx::TextureFormatInfo::Of(format);
  std::vector<uint8_t> bytes(size_t(info.Pitch(width)) * info.Rows(height));
  for (size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = uint8_t(seed + i * 7);
  return bytes;
}

// A DDS file of one 2D picture with `levels` levels given as packed bytes.
inline std::vector<uint8_t> MakeDds(gfx::Format format, uint32_t width, uint32_t height,
                                    const std::vector<std::vector<uint8_t>>& levels) {
  std::vector<uint8_t> out(128, 0);
  auto put = [&](size_t at, uint32_t v) { std::memcpy(&out[at], &v, 4); };
  std::memcpy(out.data(), "DDS ", 4);
  put(4, 124);
  put(8, 0x1007 | (levels.size() > 1 ? 0x20000 : 0));
  put(12, height);
  put(16, width);
  put(28, uint32_t(levels.size()));
  put(76, 32);
  using gfx::Format;
  switch (format) {
    case Format::A8R8G8B8:
    case Format::X8R8G8B8:
      put(80, format == Format::A8R8G8B8 ? 0x41 : 0x40);
      put(88, 32), put(92, 0xFF0000), put(96, 0xFF00), put(100, 0xFF);
      put(104, format == Format::A8R8G8B8 ? 0xFF000000 : 0);
      break;
    case Format::A8:
      put(80, 0x2), put(88, 8), put(104, 0xFF);
      break;
    case Format::V8U8:
      put(80, 0x80000), put(88, 16), put(92, 0xFF), put(96, 0xFF00);
      break;
    case Format::V16U16:
      put(80, 0x80000), put(88, 32), put(92, 0xFFFF), put(96, 0xFFFF0000);
      break;
    default:  // DXT1/3/5
      put(80, 0x4), put(84, uint32_t(format));
      break;
  }
  put(108, 0x1000);
  for (const auto& level : levels)
    out.insert(out.end(), level.begin(), level.end());
  return out;
}

}  // namespace gfx_image_test
