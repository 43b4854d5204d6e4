#include "particles/tree/preset/ptclsys_preset.h"

#include "core/param/param_reads.h"

bool ZKW_PtclSysPreset::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPreset", 3);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(presetValue);
  io.WriteDword(static_cast<uint32_t>(floats.size()));
  for (const float value : floats)
    io.WriteFloat(value);
  io.WriteDword(static_cast<uint32_t>(values.size()));
  for (const MediaParamT<unsigned>& value : values)
    io.WriteUInt32(value.Value());
  return ZKW_PSTree_Root::Save(archive);
}

bool ZKW_PtclSysPreset::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(presetValue);
  if (version >= 2) {
    floats.clear();
    ReadFloatArray(archive, floats);
  }
  if (version >= 3) {
    values.clear();
    uint32_t count = 0;
    io.ReadDword(count);
    if (io.CountFits(count, sizeof(uint32_t))) {
      for (uint32_t i = 0; i < count && !archive.Failed(); ++i) {
        uint32_t value = 0;
        io.ReadUInt32(value);
        values.emplace_back(value);
      }
    }
  }
  return ZKW_PSTree_Root::ReadBody(archive, ReadBaseHeader(archive));
}
