#include "tools/text_art/text_picture.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <bit>
#include <cmath>

#include "platform/gfx/image/dds_writer.h"

namespace {

// One glyph's coverage placed on the picture: its top-left pixel and its rows.
struct PlacedCoverage {
  int left = 0, top = 0;
  int width = 0, rows = 0;
  std::vector<uint8_t> coverage;
};

uint32_t PowerOfTwoAtLeast(uint32_t n) {
  return std::bit_ceil(std::max(n, 1u));
}

std::vector<std::u16string_view> Lines(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == u'\n') {
      lines.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return lines;
}

// The rendered coverage of one glyph at pen position (x, baseline y), pixels with y down.
bool RenderGlyph(const TextFont& font, uint32_t index, float x, float y, PlacedCoverage& out) {
  FT_Face face = font.Face();
  FT_Matrix slant{0x10000, static_cast<FT_Fixed>(TextFont::kObliqueSlant * 0x10000), 0, 0x10000};
  FT_Vector shift{static_cast<FT_Pos>(std::lround((x - std::floor(x)) * 64.0f)), 0};
  FT_Set_Transform(face, font.Oblique() ? &slant : nullptr, &shift);
  const bool loaded = FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) == 0 &&
                      FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0;
  FT_Set_Transform(face, nullptr, nullptr);
  if (!loaded) return false;
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  out.left = static_cast<int>(std::floor(x)) + face->glyph->bitmap_left;
  out.top = static_cast<int>(std::lround(y)) - face->glyph->bitmap_top;
  out.width = static_cast<int>(bitmap.width);
  out.rows = static_cast<int>(bitmap.rows);
  out.coverage.assign(size_t(out.width) * out.rows, 0);
  for (int row = 0; row < out.rows; ++row)
    std::copy_n(bitmap.buffer + ptrdiff_t(row) * bitmap.pitch, out.width,
                out.coverage.begin() + ptrdiff_t(row) * out.width);
  return true;
}

uint32_t WithAlpha(uint32_t colour, float coverage) {
  const float alpha = static_cast<float>(colour >> 24) * std::clamp(coverage, 0.0f, 1.0f);
  return (colour & 0xFFFFFF) | static_cast<uint32_t>(std::lround(alpha)) << 24;
}

}  // namespace

TextPicture DrawTextPicture(const TextFont& font, std::u16string_view text,
                            const TextPictureStyle& style) {
  FT_Face face = font.Face();
  FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(style.pixelSize * 64.0f)), 72, 72);
  const float ascender = static_cast<float>(face->size->metrics.ascender) / 64.0f;
  const float descender = static_cast<float>(face->size->metrics.descender) / 64.0f;
  const float lineHeight = static_cast<float>(face->size->metrics.height) / 64.0f;

  // Lay the lines out with the first baseline at the ascender, then find what they cover.
  std::vector<PlacedCoverage> glyphs;
  float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
  float baseline = ascender;
  for (std::u16string_view line : Lines(text)) {
    float advance = 0.0f;
    for (const ShapedGlyph& glyph : ShapeText(font, line, style.pixelSize, style.kerning)) {
      PlacedCoverage placed;
      if (RenderGlyph(font, glyph.index, glyph.x, baseline - glyph.y, placed) && placed.width > 0 &&
          placed.rows > 0) {
        left = std::min(left, static_cast<float>(placed.left));
        top = std::min(top, static_cast<float>(placed.top));
        right = std::max(right, static_cast<float>(placed.left + placed.width));
        bottom = std::max(bottom, static_cast<float>(placed.top + placed.rows));
        glyphs.push_back(std::move(placed));
      }
      advance = glyph.x + glyph.advance;
    }
    right = std::max(right, advance);
    bottom = std::max(bottom, baseline - descender);
    baseline += lineHeight;
  }

  const int originX = static_cast<int>(style.padding) - static_cast<int>(std::floor(left));
  const int originY = static_cast<int>(style.padding) - static_cast<int>(std::floor(top));
  TextPicture picture;
  picture.usedWidth =
      static_cast<uint32_t>(std::ceil(right) - std::floor(left)) + 2 * style.padding;
  picture.usedHeight =
      static_cast<uint32_t>(std::ceil(bottom) - std::floor(top)) + 2 * style.padding;
  picture.width = PowerOfTwoAtLeast(picture.usedWidth);
  picture.height = PowerOfTwoAtLeast(picture.usedHeight);
  picture.pixels.assign(size_t(picture.width) * picture.height, style.colour & 0xFFFFFF);

  // Overlapping glyphs keep the larger coverage.
  std::vector<uint8_t> coverage(picture.pixels.size(), 0);
  for (const PlacedCoverage& glyph : glyphs) {
    for (int row = 0; row < glyph.rows; ++row) {
      for (int column = 0; column < glyph.width; ++column) {
        const int x = originX + glyph.left + column, y = originY + glyph.top + row;
        if (x < 0 || y < 0 || x >= int(picture.width) || y >= int(picture.height)) continue;
        uint8_t& at = coverage[size_t(y) * picture.width + x];
        at = std::max(at, glyph.coverage[size_t(row) * glyph.width + column]);
      }
    }
  }
  for (size_t i = 0; i < coverage.size(); ++i)
    picture.pixels[i] = WithAlpha(style.colour, static_cast<float>(coverage[i]) / 255.0f);
  return picture;
}

TextPicture HaloOf(const TextPicture& text, uint32_t radius, uint32_t colour) {
  const int w = static_cast<int>(text.width), h = static_cast<int>(text.height);
  const int r = static_cast<int>(radius);
  std::vector<float> alpha(text.pixels.size());
  for (size_t i = 0; i < alpha.size(); ++i)
    alpha[i] = static_cast<float>(text.pixels[i] >> 24) / 255.0f;
  // A box blur across, then down, twice: close to a Gaussian of the same reach.
  std::vector<float> next(alpha.size());
  for (int pass = 0; pass < 2; ++pass) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        float sum = 0.0f;
        for (int k = -r; k <= r; ++k)
          if (x + k >= 0 && x + k < w) sum += alpha[size_t(y) * w + x + k];
        next[size_t(y) * w + x] = sum / static_cast<float>(2 * r + 1);
      }
    }
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        float sum = 0.0f;
        for (int k = -r; k <= r; ++k)
          if (y + k >= 0 && y + k < h) sum += next[size_t(y + k) * w + x];
        alpha[size_t(y) * w + x] = sum / static_cast<float>(2 * r + 1);
      }
    }
  }
  TextPicture halo = text;
  for (size_t i = 0; i < alpha.size(); ++i)
    halo.pixels[i] = WithAlpha(colour, std::min(1.0f, alpha[i] * 2.5f));
  return halo;
}

std::vector<uint8_t> UsedPartAsDds(const TextPicture& picture) {
  gfx::image::DdsImage image{gfx::Format::A8R8G8B8, picture.usedWidth, picture.usedHeight, {{}}};
  std::vector<uint8_t>& level = image.levels[0];
  level.reserve(size_t(picture.usedWidth) * picture.usedHeight * 4);
  for (uint32_t y = 0; y < picture.usedHeight; ++y) {
    for (uint32_t x = 0; x < picture.usedWidth; ++x) {
      const uint32_t argb = picture.At(x, y);
      for (int shift : {0, 8, 16, 24})
        level.push_back(static_cast<uint8_t>(argb >> shift));
    }
  }
  return gfx::image::WriteDds(image);
}
