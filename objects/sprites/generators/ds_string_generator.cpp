#include "objects/sprites/generators/ds_string_generator.h"

bool DS_StringGenerator::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_StringGenerator", kVersion);
  DS_IOF_Virtual& io = archive.io();
  for (const D3DXVECTOR3* p : {&start.Value(), &end.Value()}) {
    io.WriteFloat(p->x);
    io.WriteFloat(p->y);
    io.WriteFloat(p->z);
  }
  return DS_TexParticleGenerator::Save(archive);
}

bool DS_StringGenerator::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  DS_IOF_Virtual& io = archive.io();
  for (D3DXVECTOR3* p : {&start.RawValue(), &end.RawValue()}) {
    io.ReadFloat(p->x);
    io.ReadFloat(p->y);
    io.ReadFloat(p->z);
  }
  return DS_TexParticleGenerator::ReadBody(archive, ReadBaseHeader(archive));
}
