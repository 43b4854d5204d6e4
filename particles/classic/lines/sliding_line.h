#pragma once

#include <cstdint>
#include <memory>

#include "particles/classic/lines/static_line_ctrl.h"

// A line that sends a piece of length S once along its path in every shown phase of its object:
// the piece enters at the path's start and leaves past its end. With `alternate` each new pass
// runs the other way. A pass starts at the first shown update after the object has been out of
// the shown state.
class ZKW_SlidingLine : public ZKW_StaticLineCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  ZKW_SlidingLine() = default;
  ZKW_SlidingLine(const ZKW_SlidingLine& other) = default;

  // "ZKW_SlidingLine" version 1: UInt32 slide length, Int32 alternate, then the
  // "ZKW_StaticLineCtrl" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  // A pass starting (direction, head dressed for cycle x L / (S + L)), then the strip of the
  // window [l - S, l] with l = (S + L) x the phase progress; past the path's end the head's own
  // opacity value is 0.
  void Update(float t) override;
  // W x E(width envelope, 1 - d / S): 0 at the piece's tail, 1 at its leading end.
  float WidthAt(float d) const override;
  // O x E(opacity envelope, 1 - d / S), O the line look's opacity byte.
  float OpacityAt(float d) const override;

  MediaParamT<unsigned> slideLength{0};
  MediaParamT<int> alternate{0};
  uint8_t armed = 0;
};
