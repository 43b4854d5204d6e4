#include "objects/text3d/ds_3d_in_2d_array_constructor.h"

#include "objects/text3d/ds_3d_in_2d_array.h"

DS_3D_in_2D_array_Constructor::DS_3D_in_2D_array_Constructor(
    const DS_3D_in_2D_array_Constructor& other)
    : DS_IOF_Item(),
      DS_ABObj_Constructor(other),
      mesh(other.mesh),
      picture(other.picture),
      count(other.count),
      drift(other.drift) {}

bool DS_3D_in_2D_array_Constructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_3D_in_2D_array_Constructor", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteWideString(name);
  io.WriteUInt32(count.Value());
  io.WriteResourceRecord(mesh);
  io.WriteResourceRecord(picture);
  for (const MediaParamT<unsigned>* value :
       {&drift.size, &drift.speed, &drift.sway, &drift.swayFrequency, &drift.spin})
    io.WriteUInt32(value->Value());
  io.WriteUInt32(drift.Direction());
  return DS_ABObj_Constructor::Save(archive);
}

bool DS_3D_in_2D_array_Constructor::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadWideString(name);
  io.ReadUInt32(count.RawValue());
  io.ReadResourceRecord(mesh);
  io.ReadResourceRecord(picture);
  for (MediaParamT<unsigned>* value :
       {&drift.size, &drift.speed, &drift.sway, &drift.swayFrequency, &drift.spin})
    io.ReadUInt32(value->RawValue());
  uint32_t direction = 0;
  io.ReadUInt32(direction);
  drift.SetDirection(direction);
  return DS_ABObj_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_RenderObj> DS_3D_in_2D_array_Constructor::CreateRuntimeObject() {
  return std::make_unique<DS_3D_in_2D_array>(
      std::make_unique<DS_3D_in_2D_array_Constructor>(*this));
}
