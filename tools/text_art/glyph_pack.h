#pragma once

#include <cstdint>
#include <vector>

#include "tools/text_art/text_font.h"

// A picture pack of one glyph, as the animated font loads it from a module's "DDS" resource:
// the frames' delays (Dword count, then the float bits of each), a record count and one
// resource record per frame carrying the glyph drawn in that frame's tint (0xAARRGGBB) as a
// DDS picture of the glyph's used part.
std::vector<uint8_t> GlyphPack(const TextFont& font, char16_t glyph, float pixelSize,
                               const std::vector<uint32_t>& tints, float delay);
