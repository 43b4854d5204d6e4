#include "fx/bases/ds_direction_based.h"

#include "core/param/param_reads.h"
#include "platform/math/d3dx_math.h"

D3DXVECTOR4 TurnedOnScreen(unsigned degrees, const D3DXVECTOR4& v) {
  const int32_t turn = static_cast<int32_t>(360u - degrees);
  D3DXMATRIX m;
  D3DXMatrixRotationZ(&m, static_cast<float>(turn) * 3.1415927f / 180.0f);
  D3DXVECTOR4 out;
  D3DXVec4Transform(&out, &v, &m);
  return out;
}

DS_DirectionBased::DS_DirectionBased() {
  callbacks_.Watch(&DS_DirectionBased::UpdateDirection, directionAngle);
  UpdateDirection();
}

DS_DirectionBased::DS_DirectionBased(const DS_DirectionBased& other)
    : DS_FX_Constructor(other),
      baseStrength(other.baseStrength),
      directionAngle(other.directionAngle),
      direction(other.direction) {
  callbacks_.Watch(&DS_DirectionBased::UpdateDirection, directionAngle);
  UpdateDirection();
}

bool DS_DirectionBased::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_DirectionBased", kVersion);
  archive.io().WriteUInt32(baseStrength.Value());
  archive.io().WriteUInt32(directionAngle.Value());
  return DS_FX_Constructor::Save(archive);
}

bool DS_DirectionBased::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadChangedUInt32(archive, baseStrength);
  archive.io().ReadUInt32(directionAngle.RawValue());
  return DS_FX_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_DirectionBased::UpdateDirection() {
  direction = TurnedOnScreen(directionAngle.Value(), D3DXVECTOR4(1.0f, 0.0f, 0.0f, 0.0f));
}
