#pragma once

#include "core/param/scaled_param.h"
#include "core/timing/time_key.h"
#include "core/timing/zkw_timing.h"

// A timeline that repeats a list of intervals (keys) every period: hidden outside the keys,
// fading in, shown and fading out within each.
class ZKW_ManualTimeLine : public ZKW_Timing {
 public:
  // How far ahead of the position a key reports its length while the object is still hidden.
  static constexpr float kLookAhead = 3.0f;

  ZKW_ManualTimeLine();

  // "ZKW_ManualTimeLine" version 1: UInt32 period, the keys (WriteTimeKeys), the base record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Period stored and notified (even when unchanged), the keys, the base header.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Advances the position within the period by the clock step and takes state and value from
  // the first key that has not ended. A period of 0 leaves the object hidden with value 0.
  // Answers the position.
  float Step(float t) override;
  // Clock, position and key length to 0; hidden with value 0.
  void Reset() override;
  // While shown, how far through the key's shown span; otherwise 0.
  float GetPhaseProgress() const override;
  // The length of the current key (also of a key starting within kLookAhead), or 0.
  float GetCycleLength() const override { return keyLength_; }
  // Stores the period and notifies it when it differs.
  void SetPeriod(unsigned hundredths) override;

  TimeParam period;  // hundredths of a second, default 1000 (10 s)
  TimeKeySet keys;

  float Position() const { return position_; }

 private:
  // The first key, in set order, that ends at or after the position, or null.
  const TimeKey* KeyAtPosition() const;
  void Hide();

  float keyLength_ = 0.0f;
  float position_ = 0.0f;  // seconds within the period
};
