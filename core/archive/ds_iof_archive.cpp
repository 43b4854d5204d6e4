#include "core/archive/ds_iof_archive.h"

void DS_IOF_Archive::ReadGuid(GUID& guid) {
  zkw_string text;
  io_->ReadWideString(text);
  guid = GUID::Parse(text);
}

void DS_IOF_Archive::ReadResourceRecordList(std::vector<ResourceDataRecord>& out) {
  uint32_t count = 0;
  io_->ReadDword(count);
  // The smallest record is 16 bytes: id, empty module, size 0, empty path.
  constexpr uint64_t kMinRecord = 16;
  if (!io_->CountFits(count, kMinRecord)) return;
  for (uint32_t i = 0; i < count && !io_->Failed(); ++i) {
    ResourceDataRecord record;
    io_->ReadResourceRecord(record);
    out.push_back(std::move(record));
  }
}
