#pragma once

#include <cstdint>
#include <optional>

#include "core/archive/ds_iof_archive.h"
#include "core/ds_safe_ptr.h"
#include "core/param/media_param_t.h"
#include "core/param/smart_gradient_color.h"
#include "core/param/smart_vector.h"

// Where colour effects take a particle's colour (0x00BBGGRR) from a position t in [0, 1]: a list
// of colours picked by the nearest entry, or (mode 1) a gradient of stops interpolated between
// neighbours.
struct ColorSourceParams {
  ColorSourceParams();

  // The colour at t. The gradient gives 0 for t outside [0, 1] or fewer than two stops and the
  // last stop's colour at and beyond its position. The list has no colour (nullopt) for t outside
  // [0, 1] or an empty list, so the caller keeps the colour it had.
  std::optional<uint32_t> ColorAt(float t) const;

  MediaParamT<int> mode{0};  // 1 the gradient, else the list
  ZKW_SmartArray<uint32_t> colors;
  SmartGradientColor gradient;
};

// Int32 1, Int32 mode, the list (Dword count, the colours), Int32 1, Dword stop count, the stops
// (Float position, Dword colour). Selected indices are not stored.
void WriteColorSource(DS_IOF_Archive& archive, const ColorSourceParams& source);
// The same back, into `source` (a default one when the holder is empty); nothing is notified. A
// stop count that the remaining bytes cannot hold fails the stream and leaves no stops.
void ReadColorSource(DS_IOF_Archive& archive, DS_SafePtr<ColorSourceParams>& source);
