#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// A strip one cell wide with one glyph per cell from the top, white on clear (the alpha is the
// glyph's coverage), each glyph centred in its cell on one baseline, at the largest pixel size at
// which every glyph fits its cell with a pixel to spare: the glyph strips the falling-glyph
// renderer draws from. `face` is a file of the DejaVu folder; characters are single bytes
// (ASCII). Writes a PNG; false, with the reason in `error`, when it cannot.
bool WriteGlyphStrip(const std::filesystem::path& out, std::string_view characters,
                     unsigned cellWidth, unsigned cellHeight, const std::string& face,
                     std::string* error);
