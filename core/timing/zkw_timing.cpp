#include "core/timing/zkw_timing.h"

bool ZKW_Timing::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_Timing", 1);
  return true;
}

float ZKW_Timing::Step(float t) {
  AdvanceClock(t);
  return t;
}
