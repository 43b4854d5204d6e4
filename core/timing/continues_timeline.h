#pragma once

#include "core/timing/zkw_timing.h"

// The timeline of an object that is always there: shown, value 1.0, forever.
class ZKW_ContinuesTimeLine : public ZKW_Timing {
 public:
  ZKW_ContinuesTimeLine() = default;

  // "ZKW_ContinuesTimeLine" version 1, then the base record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Only the base header follows (read and ignored).
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
};
