#include "core/archive/ds_iof_w.h"

#include <cstring>

void DS_IOF_W::Put(const void* data, size_t count) {
  if (count == 0) return;
  size_t at = bytes_.size();
  bytes_.resize(at + count);
  std::memcpy(bytes_.data() + at, data, count);
}

void DS_IOF_W::WriteWideString(const zkw_string& s) {
  static constexpr uint8_t kMarker[3] = {0xFF, 0xFE, 0xFF};
  Put(kMarker, 3);
  auto n = static_cast<uint32_t>(s.size());
  if (n < 0xFF) {
    WriteByte(static_cast<uint8_t>(n));
  } else {
    WriteByte(0xFF);
    if (n < 0xFFFF) {
      WriteInt16(static_cast<int16_t>(n));
    } else {
      WriteInt16(static_cast<int16_t>(-1));
      WriteDword(n);
    }
  }
  Put(s.data(), s.size() * 2);
}

void DS_IOF_W::WriteFileData(const FileDataRecord& r) {
  WriteDword(r.Size());
  Put(r.bytes.data(), r.bytes.size());
  WriteWideString(r.path);
}

void DS_IOF_W::WriteResourceRecord(const ResourceDataRecord& r) {
  WriteDword(r.resourceId);
  WriteWideString(r.module);
  WriteFileData(r);
}
