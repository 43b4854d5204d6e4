#pragma once

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "core/float_to_int.h"
#include "core/param/callback_ctrl.h"
#include "core/param/media_param_t.h"

// An unsigned parameter in editor units (percent, hundredths of a second, degrees) that keeps a
// converted copy for the code that uses it: scaled = value x factor + offset, recomputed on every
// change of the value by a control that watches the parameter itself (after its undo control).
// Only the unsigned value is ever stored; factor and offset belong to the owner.
//
// T is float, or unsigned char for an 8-bit alpha: the float result is truncated towards zero
// and its low 8 bits are kept, so results of 256 and more or below 0 wrap; a saturating
// parameter (SetSaturating) keeps them at 255 and 0 instead.
template <class T>
class UINTSclaleTo : public MediaParamT<unsigned> {
 public:
  UINTSclaleTo() : UINTSclaleTo(0, 1.0f, 0.0f) {}
  UINTSclaleTo(unsigned value, float factor, float offset)
      : MediaParamT<unsigned>(value), factor_(factor), offset_(offset) {
    Recompute();
  }
  // Value, factor and offset are copied; observers and history are not; scaled is recomputed.
  UINTSclaleTo(const UINTSclaleTo& other)
      : MediaParamT<unsigned>(),
        factor_(other.factor_),
        offset_(other.offset_),
        saturating_(other.saturating_) {
    RawValue() = other.Value();
    NotifyChanged(nullptr);
  }
  UINTSclaleTo& operator=(const UINTSclaleTo&) = delete;

  T Scaled() const { return scaled_; }
  float Factor() const { return factor_; }
  float Offset() const { return offset_; }

  // Re-scales the parameter; scaled follows at once.
  void SetScale(float factor, float offset) {
    factor_ = factor;
    offset_ = offset;
    Recompute();
  }
  void SetFactor(float factor) { SetScale(factor, offset_); }
  // Results outside 0..255 of an 8-bit parameter saturate instead of wrapping.
  void SetSaturating(bool saturating) {
    saturating_ = saturating;
    Recompute();
  }

  // Brings scaled up to date after a direct store of the value.
  void Recompute() {
    const float scaled = static_cast<float>(Value()) * factor_ + offset_;
    if constexpr (std::is_same_v<T, unsigned char>) {
      const int64_t whole = SaturatingTruncate<int64_t>(scaled);
      scaled_ = saturating_ ? static_cast<unsigned char>(std::clamp<int64_t>(whole, 0, 255))
                            : static_cast<unsigned char>(static_cast<uint64_t>(whole));
    } else {
      scaled_ = static_cast<T>(scaled);
    }
  }

 private:
  T scaled_{};
  float factor_;
  float offset_;
  bool saturating_ = false;
  SmartCalbackCtrl<UINTSclaleTo> recompute_{&UINTSclaleTo::Recompute, this, this};
};

// A duration in hundredths of a second, scaled to seconds.
class TimeParam : public UINTSclaleTo<float> {
 public:
  TimeParam() : UINTSclaleTo<float>(0, 0.01f, 0.0f) {}
};

// An angle in degrees, scaled to radians.
class ZKW_Angle : public UINTSclaleTo<float> {
 public:
  ZKW_Angle() : UINTSclaleTo<float>(0, 0.017453292f, 0.0f) {}
};

// A jitter percent p, scaled to 1 - p / 100.
class ZKW_JitterMediaPrm : public UINTSclaleTo<float> {
 public:
  ZKW_JitterMediaPrm() : UINTSclaleTo<float>(0, -0.01f, 1.0f) {}
};

// An opacity from a transparency percent p: 1 - p / 100.
class ZKW_SmartAlpha : public UINTSclaleTo<float> {
 public:
  ZKW_SmartAlpha() : UINTSclaleTo<float>(0, -0.01f, 1.0f) {}
};
