#include "core/scene/zkw_render_obj_data.h"

ZKW_RenderObjData::ZKW_RenderObjData(const ZKW_RenderObjData& other)
    : DS_IOF_Item(),
      restartFlag(other.restartFlag),
      timing(other.timing),
      guid(other.guid),
      keepGuid(other.keepGuid) {}

bool ZKW_RenderObjData::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_RenderObjData", 2);
  archive.WriteGuid(guid);
  timing.Save(archive);
  archive.io().WriteInt32(restartFlag.Value());
  return true;
}

bool ZKW_RenderObjData::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  archive.ReadGuid(guid);
  timing.Read(archive, ReadBaseHeader(archive));
  if (version > 1) archive.io().ReadInt32(restartFlag.RawValue());
  return true;
}
