#include "geometry/figure/zkw_vfigure.h"

#include "core/archive/vector_io.h"
#include "core/registry/read_by_name.h"

bool ZKW_VFigure::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VFigure", 1);
  WriteVector3(archive.io(), position.Value());
  return true;
}

void ZKW_VFigure::AttachParamCallbacks(OwnedControlList*) {}

void ZKW_VFigure::AddRandomPoint(D3DXVECTOR3* point) {
  D3DXVECTOR3 scratch;
  EmitPointAndDirection(point, &scratch, false);
}

bool ZKW_VFigure::EmptyLattice(D3DXVECTOR3* out, unsigned rows, unsigned columns) const {
  if (rows != 0 && columns != 0) return false;
  *out = Center();
  return true;
}

void ZKW_VFigure::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadVector3(archive.io(), position.RawValue());
}

std::unique_ptr<ZKW_VFigure> ReadVFigure(DS_IOF_Archive& archive) {
  return ReadByName(archive, GetVFigureRegistry());
}

std::unique_ptr<ZKW_VFigure> CreateVFigureByName(const char* utf8Name) {
  return CreateByName(GetVFigureRegistry(), Utf8ToWString(utf8Name));
}
