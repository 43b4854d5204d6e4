#include "platform/gfx/image/level_rows.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/image/color_lanes.h"
#include "platform/gfx/image/dxt_encoder.h"
#include "platform/gfx/image/level_buffers.h"
#include "platform/gfx/texture_format.h"

namespace gfx::image {

namespace {

float Unit(uint8_t byte) {
  return float(byte) / 255.0f;
}

// Rounds half up: the value is never negative here, where that is what lround does, without
// its call per sample.
uint8_t Byte(float unit) {
  return uint8_t(std::clamp(unit, 0.0f, 1.0f) * 255.0f + 0.5f);
}

// Signed normalised components: -128 and -127 both read as -1.
float Snorm8(int8_t v) {
  return std::max(float(v) / 127.0f, -1.0f);
}
float Snorm16(int16_t v) {
  return std::max(float(v) / 32767.0f, -1.0f);
}
int8_t ToSnorm8(float f) {
  return int8_t(std::lround(std::clamp(f, -1.0f, 1.0f) * 127.0f));
}
int16_t ToSnorm16(float f) {
  return int16_t(std::lround(std::clamp(f, -1.0f, 1.0f) * 32767.0f));
}

// NaN would pass every clamp unchanged; it reads as 0.
Color4 Finite(Color4 c) {
  for (float* f : {&c.r, &c.g, &c.b, &c.a})
    if (!std::isfinite(*f)) *f = std::isinf(*f) && *f > 0 ? 1.0f : 0.0f;
  return c;
}

bool IsDxt(Format format) {
  return format == Format::Dxt1 || format == Format::Dxt3 || format == Format::Dxt5;
}

}  // namespace

LevelReader::LevelReader(Format format, const uint8_t* bytes, uint32_t pitch, uint32_t width,
                         uint32_t height)
    : format_(format), bytes_(bytes), pitch_(pitch), width_(width), height_(height) {}

void LevelReader::Next(Color4* out) {
  const uint32_t y = y_++;
  if (y >= height_) {
    std::fill_n(out, width_, Color4{});
    return;
  }
  if (IsDxt(format_)) {
    // The device's decoder reads a block row into four rows of BGRA.
    if (y % 4 == 0) {
      band_.resize(size_t(width_) * 4 * 4);
      DecodeDxt(format_, bytes_ + size_t(y / 4) * pitch_, width_, std::min(4u, height_ - y),
                band_.data());
    }
    const uint8_t* p = &band_[size_t(y % 4) * width_ * 4];
    for (uint32_t x = 0; x < width_; ++x, p += 4)
      out[x] = {Unit(p[2]), Unit(p[1]), Unit(p[0]), Unit(p[3])};
    return;
  }
  const uint8_t* row = bytes_ + size_t(y) * pitch_;
  if (format_ == Format::A8R8G8B8 || format_ == Format::X8R8G8B8) {
    const bool opaque = format_ == Format::X8R8G8B8;
    for (uint32_t x = 0; x < width_; ++x, row += 4) {
      out[x] = FromBgra(row);
      if (opaque) out[x].a = 1.0f;
    }
    return;
  }
  for (uint32_t x = 0; x < width_; ++x) {
    Color4& c = out[x];
    switch (format_) {
      case Format::A8R8G8B8:
      case Format::X8R8G8B8: {
        const uint8_t* p = row + 4 * x;
        c = {Unit(p[2]), Unit(p[1]), Unit(p[0]), format_ == Format::X8R8G8B8 ? 1.0f : Unit(p[3])};
        break;
      }
      case Format::A8:
        c = {0, 0, 0, Unit(row[x])};
        break;
      case Format::V8U8:
        c = {Snorm8(int8_t(row[2 * x])), Snorm8(int8_t(row[2 * x + 1])), 1, 1};
        break;
      case Format::V16U16: {
        const uint8_t* p = row + 4 * x;
        c = {Snorm16(int16_t(p[0] | p[1] << 8)), Snorm16(int16_t(p[2] | p[3] << 8)), 1, 1};
        break;
      }
      default:
        c = {};
        break;
    }
  }
}

LevelEncoder::LevelEncoder(Format format, uint32_t width, uint32_t height)
    : format_(format), width_(width), height_(height) {
  const TextureFormatInfo info = TextureFormatInfo::Of(format);
  pitch_ = info.Pitch(width);
  compressed_ = info.compressed;
  size_ = size_t(pitch_) * info.Rows(height);
  // Only reserved: every byte is appended once, in order, so that nothing is cleared first.
  out_ = TakeLevelBuffer(size_);
  if (compressed_) band_.resize(size_t(width) * 4);
  row_.resize(compressed_ ? TextureFormatInfo::Of(format).bytesPerUnit : pitch_);
}

std::vector<uint8_t> LevelEncoder::Take() {
  out_.resize(size_);  // rows never written read as zero bytes
  return std::move(out_);
}

void LevelEncoder::Write(uint32_t y, const Color4* in) {
  if (y >= height_) return;
  if (compressed_) {
    std::copy_n(in, width_, &band_[size_t(y % 4) * width_]);
    if (y % 4 == 3 || y + 1 == height_) EncodeBand(y / 4, y % 4 + 1);
    return;
  }
  if (!Reach(size_t(y) * pitch_)) return;
  EncodeRow(in, row_.data());
  out_.insert(out_.end(), row_.begin(), row_.end());
}

bool LevelEncoder::Reach(size_t offset) {
  if (out_.size() > offset) return false;  // written already
  out_.resize(offset);                     // skipped rows are zero bytes
  return true;
}

void LevelEncoder::EncodeRow(const Color4* in, uint8_t* row) const {
  if (format_ == Format::A8R8G8B8 || format_ == Format::X8R8G8B8) {
    ToBgraRow(in, width_, format_ == Format::X8R8G8B8, row);
    return;
  }
  for (uint32_t x = 0; x < width_; ++x) {
    const Color4 c = Finite(in[x]);
    switch (format_) {
      case Format::A8R8G8B8:
      case Format::X8R8G8B8: {
        uint8_t* p = row + 4 * x;
        p[0] = Byte(c.b), p[1] = Byte(c.g), p[2] = Byte(c.r);
        p[3] = format_ == Format::X8R8G8B8 ? 255 : Byte(c.a);
        break;
      }
      case Format::A8:
        row[x] = Byte(c.a);
        break;
      case Format::V8U8:
        row[2 * x] = uint8_t(ToSnorm8(c.r));
        row[2 * x + 1] = uint8_t(ToSnorm8(c.g));
        break;
      case Format::V16U16: {
        const uint16_t u = uint16_t(ToSnorm16(c.r)), v = uint16_t(ToSnorm16(c.g));
        uint8_t* p = row + 4 * x;
        p[0] = uint8_t(u), p[1] = uint8_t(u >> 8), p[2] = uint8_t(v), p[3] = uint8_t(v >> 8);
        break;
      }
      default:
        break;
    }
  }
}

void LevelEncoder::EncodeBand(uint32_t blockRow, uint32_t rows) {
  if (!Reach(size_t(blockRow) * pitch_)) return;
  const uint32_t blockBytes = TextureFormatInfo::Of(format_).bytesPerUnit;
  for (uint32_t bx = 0; bx < pitch_ / blockBytes; ++bx) {
    uint8_t rgba[16][4];
    for (uint32_t i = 0; i < 16; ++i) {
      const uint32_t x = std::min(bx * 4 + i % 4, width_ - 1);
      const uint32_t y = std::min(i / 4, rows - 1);
      const Color4 c = Finite(band_[size_t(y) * width_ + x]);
      rgba[i][0] = Byte(c.r), rgba[i][1] = Byte(c.g), rgba[i][2] = Byte(c.b);
      rgba[i][3] = Byte(c.a);
    }
    EncodeDxtBlock(format_, rgba, row_.data());
    out_.insert(out_.end(), row_.begin(), row_.end());
  }
}

}  // namespace gfx::image
