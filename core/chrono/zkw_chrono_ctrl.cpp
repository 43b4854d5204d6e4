#include "core/chrono/zkw_chrono_ctrl.h"

#include "core/registry/read_by_name.h"

bool ZKW_ChronoCtrl::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_ChronoCtrl", 1);
  return true;
}

std::unique_ptr<ZKW_ChronoCtrl> ReadChronoCtrl(DS_IOF_Archive& archive) {
  return ReadByName(archive, GetChronoRegistry());
}
