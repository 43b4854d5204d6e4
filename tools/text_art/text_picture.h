#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "tools/text_art/text_font.h"

// A picture of text as a text object shows it: the text drawn from the top-left corner of a
// canvas whose sides are powers of two (the texture the player makes of it), the rest clear.
// The used part is what the text covers, with its padding.
struct TextPicture {
  uint32_t width = 0, height = 0;          // the canvas
  uint32_t usedWidth = 0, usedHeight = 0;  // the text's part, from the top-left
  std::vector<uint32_t> pixels;            // 0xAARRGGBB, rows from the top

  // The fractions of the canvas that the text uses, as the player's texture sets give them.
  float UsedU() const { return width != 0 ? float(usedWidth) / float(width) : 0.0f; }
  float UsedV() const { return height != 0 ? float(usedHeight) / float(height) : 0.0f; }
  uint32_t At(uint32_t x, uint32_t y) const { return pixels[size_t(y) * width + x]; }
};

struct TextPictureStyle {
  float pixelSize = 48.0f;       // the em in pixels
  uint32_t colour = 0xFFFFFFFF;  // 0xAARRGGBB; the glyphs' coverage scales its alpha
  uint32_t padding = 4;          // clear pixels around the text
  bool kerning = true;
};

// Draws `text` (lines split at '\n', left-aligned, one line height apart) with FreeType's
// coverage at the shaped positions. The used part holds the lines' advance boxes and every
// glyph's ink, plus the padding; an empty text uses only the padding.
TextPicture DrawTextPicture(const TextFont& font, std::u16string_view text,
                            const TextPictureStyle& style);

// A soft halo of the picture's text on the same canvas, for a text-effect picture drawn under
// the text: its coverage spread by `radius` pixels, in `colour` (0xAARRGGBB).
TextPicture HaloOf(const TextPicture& text, uint32_t radius, uint32_t colour);

// The used part of the picture as a picture file (A8R8G8B8 DDS): the player's texture of it is
// the canvas again, with the same used fractions.
std::vector<uint8_t> UsedPartAsDds(const TextPicture& picture);
