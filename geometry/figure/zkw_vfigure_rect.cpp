#include "geometry/figure/zkw_vfigure_rect.h"

#include "core/crt_rand.h"
#include "core/math/random_direction.h"
#include "platform/math/d3dx_math.h"

bool ZKW_VFigure_Rect::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VFigure_Rect", 1);
  archive.io().WriteUInt32(width.Value());
  archive.io().WriteUInt32(height.Value());
  return ZKW_VFigure::Save(archive);
}

void ZKW_VFigure_Rect::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  archive.io().ReadUInt32(width.RawValue());
  archive.io().ReadUInt32(height.RawValue());
  ReadBase(archive);
}

D3DXVECTOR3 ZKW_VFigure_Rect::RandomOffset() const {
  const float w = static_cast<float>(width.Value());
  const float h = static_cast<float>(height.Value());
  const float x = -w / 2 + w * crt_rand_unit();
  const float y = -h / 2 + h * crt_rand_unit();
  return {x, y, 0.0f};
}

void ZKW_VFigure_Rect::EmitPointAndDirection(D3DXVECTOR3* point, D3DXVECTOR3* direction,
                                             bool spin) {
  D3DXVECTOR3 q = Center() + RandomOffset();
  const float length = D3DXVec3Length(&q);
  if (length > 0.0f) {
    *direction = q / length;
  } else {
    RandomDirection2D(direction, 1.0f, 0.0f, 360.0f);
  }
  if (spin) {
    D3DXMATRIX turn;
    D3DXMatrixRotationY(&turn, crt_rand_unit() * 6.2831855f);
    D3DXVec3TransformCoord(&q, &q, &turn);
    D3DXVec3TransformCoord(direction, direction, &turn);
  }
  *point += q;
}

void ZKW_VFigure_Rect::AddRandomPoint(D3DXVECTOR3* point) {
  *point += Center() + RandomOffset();
}

D3DXVECTOR3* ZKW_VFigure_Rect::GridPoint(D3DXVECTOR3* out, unsigned index, unsigned rows,
                                         unsigned columns) {
  if (EmptyLattice(out, rows, columns)) return out;
  const D3DXVECTOR3& c = Center();
  const float w = static_cast<float>(width.Value());
  const float h = static_cast<float>(height.Value());
  const float cellW = w / static_cast<float>(columns);
  const float cellH = h / static_cast<float>(rows);
  *out = {static_cast<float>(index % columns) * cellW + c.x - (w - cellW) / 2,
          static_cast<float>(index / columns) * cellH + c.y - (h - cellH) / 2, c.z};
  return out;
}
