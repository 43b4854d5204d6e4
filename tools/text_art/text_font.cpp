#include "tools/text_art/text_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

std::unique_ptr<TextFont> TextFont::Open(const FaceChoice& choice, std::string* error) {
  auto fail = [&](const std::string& reason) -> std::unique_ptr<TextFont> {
    if (error != nullptr) *error = choice.file.string() + ": " + reason;
    return nullptr;
  };
  std::unique_ptr<TextFont> font(new TextFont());
  font->oblique_ = choice.oblique;
  if (FT_Init_FreeType(&font->library_) != 0) return fail("FreeType cannot start");
  if (FT_New_Face(font->library_, choice.file.c_str(), 0, &font->face_) != 0)
    return fail("not a font FreeType can open (is fonts-dejavu-core installed?)");
  if (!FT_IS_SCALABLE(font->face_)) return fail("not a scalable font");
  hb_blob_t* blob = hb_blob_create_from_file_or_fail(choice.file.c_str());
  if (blob == nullptr) return fail("HarfBuzz cannot read the file");
  hb_face_t* face = hb_face_create(blob, 0);
  hb_blob_destroy(blob);
  font->shaper_ = hb_font_create(face);
  hb_face_destroy(face);
  return font;
}

TextFont::~TextFont() {
  if (shaper_ != nullptr) hb_font_destroy(shaper_);
  if (face_ != nullptr) FT_Done_Face(face_);
  if (library_ != nullptr) FT_Done_FreeType(library_);
}

float TextFont::UnitsPerEm() const {
  return static_cast<float>(face_->units_per_EM);
}

std::vector<ShapedGlyph> ShapeText(const TextFont& font, std::u16string_view text, float scale,
                                   bool kerning) {
  // HarfBuzz positions in whole units: shaped at 64 units per font unit, so that no kerning
  // value is rounded, then brought to the scale asked for.
  const int fixed = static_cast<int>(font.UnitsPerEm()) * 64;
  const float toScale = scale / static_cast<float>(fixed);
  hb_font_set_scale(font.Shaper(), fixed, fixed);
  hb_buffer_t* buffer = hb_buffer_create();
  hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t*>(text.data()),
                      static_cast<int>(text.size()), 0, static_cast<int>(text.size()));
  hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
  hb_buffer_guess_segment_properties(buffer);
  hb_feature_t kern;
  hb_feature_from_string(kerning ? "kern" : "-kern", -1, &kern);
  hb_shape(font.Shaper(), buffer, &kern, 1);

  unsigned count = 0;
  const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
  const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(buffer, &count);
  std::vector<ShapedGlyph> glyphs;
  glyphs.reserve(count);
  float pen = 0.0f;
  for (unsigned i = 0; i < count; ++i) {
    ShapedGlyph glyph;
    glyph.index = info[i].codepoint;
    glyph.x = pen + static_cast<float>(position[i].x_offset) * toScale;
    glyph.y = static_cast<float>(position[i].y_offset) * toScale;
    glyph.advance = static_cast<float>(position[i].x_advance) * toScale;
    pen += glyph.advance;
    glyphs.push_back(glyph);
  }
  hb_buffer_destroy(buffer);
  return glyphs;
}
