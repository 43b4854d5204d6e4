#include "tools/text_art/glyph_strip.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "tools/text_art/font_faces.h"

namespace {

struct Rgba {
  uint8_t r, g, b, a;
};

// A face of the DejaVu folder at a pixel size; null on failure.
FT_Face OpenFace(FT_Library library, const std::string& file, unsigned pixels) {
  const std::string path = (std::filesystem::path(kDejaVuDirectory) / file).string();
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0) return nullptr;
  if (FT_Set_Pixel_Sizes(face, 0, pixels) != 0) {
    FT_Done_Face(face);
    return nullptr;
  }
  return face;
}

// The largest pixel size at which every character's bitmap fits a cell with a margin of one
// pixel on each side.
unsigned FittingSize(FT_Library library, const std::string& file, std::string_view chars,
                     unsigned cellWidth, unsigned cellHeight) {
  for (unsigned pixels = cellHeight; pixels > 4; --pixels) {
    FT_Face face = OpenFace(library, file, pixels);
    if (face == nullptr) return 0;
    bool fits = true;
    for (unsigned char c : chars) {
      if (FT_Load_Char(face, c, FT_LOAD_RENDER) != 0) continue;
      const FT_Bitmap& b = face->glyph->bitmap;
      fits = fits && b.width + 2 <= cellWidth && b.rows + 2 <= cellHeight;
    }
    FT_Done_Face(face);
    if (fits) return pixels;
  }
  return 0;
}

}  // namespace

bool WriteGlyphStrip(const std::filesystem::path& out, std::string_view chars, unsigned cellWidth,
                     unsigned cellHeight, const std::string& file, std::string* error) {
  auto Fail = [error](const std::string& message) {
    if (error != nullptr) *error = message;
    return false;
  };
  if (chars.empty() || cellWidth == 0 || cellHeight == 0 || cellWidth > 4096 || cellHeight > 4096)
    return Fail("nothing to draw");
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return Fail("FreeType does not start");
  const unsigned pixels = FittingSize(library, file, chars, cellWidth, cellHeight);
  FT_Face face = pixels > 0 ? OpenFace(library, file, pixels) : nullptr;
  if (face == nullptr) {
    FT_Done_FreeType(library);
    return Fail("no face " + file + " in " + kDejaVuDirectory);
  }
  const unsigned height = cellHeight * unsigned(chars.size());
  std::vector<Rgba> image(size_t(cellWidth) * height, Rgba{255, 255, 255, 0});
  // One baseline for every glyph: the capitals' box centred in the cell.
  const int capTop = FT_Load_Char(face, 'H', FT_LOAD_RENDER) == 0 ? face->glyph->bitmap_top : 0;
  for (size_t i = 0; i < chars.size(); ++i) {
    if (FT_Load_Char(face, static_cast<unsigned char>(chars[i]), FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot glyph = face->glyph;
    const FT_Bitmap& b = glyph->bitmap;
    const int left = (int(cellWidth) - int(b.width)) / 2;
    const int baseline = (int(cellHeight) + capTop) / 2;
    const int top = std::clamp(baseline - glyph->bitmap_top, 0, int(cellHeight) - int(b.rows));
    for (unsigned y = 0; y < b.rows; ++y)
      for (unsigned x = 0; x < b.width; ++x) {
        const int px = left + int(x), py = int(i * cellHeight) + top + int(y);
        if (px < 0 || px >= int(cellWidth)) continue;
        image[size_t(py) * cellWidth + px].a = b.buffer[y * b.pitch + x];
      }
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  if (stbi_write_png(out.c_str(), int(cellWidth), int(height), 4, image.data(),
                     int(cellWidth * sizeof(Rgba))) == 0)
    return Fail("cannot write " + out.string());
  return true;
}
