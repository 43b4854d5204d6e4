#pragma once

#include <array>
#include <cstdint>

#include "core/archive/ds_iof_archive.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"

// Colour words are COLORREF values 0x00BBGGRR (red in the low byte).

// The red, green and blue of a colour word over 255, and `alpha`: the colour as effects take it.
std::array<float, 4> ColorWordFloats(uint32_t word, float alpha);

// One colour word, stored in the archive as a Dword.
class SmartCOLORREF : public MediaParamT<uint32_t> {
 public:
  using MediaParamT<uint32_t>::MediaParamT;
};

// The alpha of a transparency percent p: 255 - 2.55 x p, truncated; a percent above 100 gives 0
// rather than a wrapped byte.
class TransparencyAlpha : public UINTSclaleTo<unsigned char> {
 public:
  TransparencyAlpha() : UINTSclaleTo<unsigned char>(0, -2.55f, 255.0f) { SetSaturating(true); }
};

// A colour (white by default) and its transparency percent turned into an 8-bit alpha.
class ColorAlphaParam : public SmartCOLORREF {
 public:
  ColorAlphaParam() : SmartCOLORREF(0xFFFFFF) {}
  ColorAlphaParam(const ColorAlphaParam& other) = default;
  ColorAlphaParam& operator=(const ColorAlphaParam&) = delete;

  TransparencyAlpha alpha;
};

// Dword colour stored straight, then UInt32 transparency percent stored and notified only when it
// differs, so that the alpha follows.
void ReadColorAlphaParam(DS_IOF_Archive& archive, ColorAlphaParam& color);
void WriteColorAlphaParam(DS_IOF_Archive& archive, const ColorAlphaParam& color);

// The red, green and blue of a colour word, each byte / 255 (red is the low byte), as effects
// take colours.
inline std::array<float, 3> ColorrefRgb(uint32_t colour) {
  return {static_cast<float>(colour & 0xFF) / 255.0f,
          static_cast<float>((colour >> 8) & 0xFF) / 255.0f,
          static_cast<float>((colour >> 16) & 0xFF) / 255.0f};
}
