#pragma once

#include "core/param/scaled_param.h"

// A parameter that keeps its value also as a float, value x factor + offset (factor 1 and
// offset 0 unless the owner sets them), recomputed on every notified change. Kinds keep their
// own settings in it; only the value is stored.
template <class T>
class MediaFloat;

template <>
class MediaFloat<unsigned> : public UINTSclaleTo<float> {
 public:
  MediaFloat() : UINTSclaleTo<float>(0, 1.0f, 0.0f) {}
  explicit MediaFloat(unsigned value, float factor = 1.0f, float offset = 0.0f)
      : UINTSclaleTo<float>(value, factor, offset) {}

  float FloatValue() const { return Scaled(); }
};
