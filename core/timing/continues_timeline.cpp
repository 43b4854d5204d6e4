#include "core/timing/continues_timeline.h"

bool ZKW_ContinuesTimeLine::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_ContinuesTimeLine", 1);
  return ZKW_Timing::Save(archive);
}

void ZKW_ContinuesTimeLine::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadBaseHeader(archive);
}
