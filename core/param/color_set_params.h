#pragma once

#include <cstdint>

#include "core/archive/ds_iof_archive.h"
#include "core/param/color_params.h"
#include "core/param/smart_vector.h"

// The colours of particle appearances and particle-tree leaves: two mode values, a colour list
// (white then black, the black one current) and a transparency percent with its 8-bit opacity.
struct ColorSetParams {
  ColorSetParams();
  ColorSetParams(const ColorSetParams& other) = default;
  ColorSetParams& operator=(const ColorSetParams&) = delete;

  MediaParamT<int> mode1{0};
  MediaParamT<int> mode2{0};
  ZKW_SmartVector<uint32_t> colors;
  TransparencyAlpha opacity;
};

// Int32 version word (read and dropped); the colours (Dword count and Dwords, stored without
// notification; the current index is kept); Int32 first and second mode value, stored straight;
// UInt32 transparency percent, stored and notified only when it differs.
void ReadColorSetParams(DS_IOF_Archive& archive, ColorSetParams& params);
// Int32 1, Dword colour count, the colours, Int32 both mode values, UInt32 transparency percent.
void WriteColorSetParams(DS_IOF_Archive& archive, const ColorSetParams& params);
