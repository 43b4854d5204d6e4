#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tools/text_art/font_faces.h"

typedef struct FT_LibraryRec_* FT_Library;
typedef struct FT_FaceRec_* FT_Face;
typedef struct hb_font_t hb_font_t;

// One font face of the text art tools: the FreeType face (glyph coverage and outlines) and the
// HarfBuzz font of the same file (shaping). Build-time tools only: the player links neither.
class TextFont {
 public:
  // The face of `choice`; null, with the reason in `error`, when it cannot be opened.
  static std::unique_ptr<TextFont> Open(const FaceChoice& choice, std::string* error = nullptr);
  ~TextFont();
  TextFont(const TextFont&) = delete;
  TextFont& operator=(const TextFont&) = delete;

  FT_Face Face() const { return face_; }
  hb_font_t* Shaper() const { return shaper_; }
  float UnitsPerEm() const;
  // Whether its glyphs are slanted by kObliqueSlant (x += slant x y).
  bool Oblique() const { return oblique_; }

  static constexpr float kObliqueSlant = 0.2f;

 private:
  TextFont() = default;

  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
  hb_font_t* shaper_ = nullptr;
  bool oblique_ = false;
};

// A glyph of shaped text: its glyph index in the face, where it is drawn (pen position plus
// offset, y up) and how far it moves the pen, in units of `scale` per em.
struct ShapedGlyph {
  uint32_t index = 0;
  float x = 0.0f, y = 0.0f;
  float advance = 0.0f;
};

// Shapes one line of UTF-16 text left to right with HarfBuzz, kerned (the font's "kern"
// feature) or not, at `scale` units per em.
std::vector<ShapedGlyph> ShapeText(const TextFont& font, std::u16string_view text, float scale,
                                   bool kerning = true);
