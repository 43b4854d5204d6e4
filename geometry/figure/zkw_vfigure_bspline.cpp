#include "geometry/figure/zkw_vfigure_bspline.h"

#include "core/crt_rand.h"
#include "geometry/curve/curve_cursor.h"
#include "geometry/path/bspline_point_io.h"
#include "platform/math/d3dx_math.h"

bool ZKW_VFigure_BSpline::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VFigure_BSpline", 1);
  WriteBSplinePointVector(archive, path.Value());
  return ZKW_VFigure::Save(archive);
}

void ZKW_VFigure_BSpline::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadBSplinePointVector(archive, path.RawValue());
  path.Rebuild();
  ReadBase(archive);
}

void ZKW_VFigure_BSpline::EmitPointAndDirection(D3DXVECTOR3* point, D3DXVECTOR3* direction,
                                                bool /*spin*/) {
  CurveCursor cursor = path.Cursor();
  const float along = cursor.TotalLength() * crt_rand_unit();
  const float w = static_cast<float>(halfWidth.Value());
  const float across = -w + 2 * w * crt_rand_unit();
  D3DXVECTOR3 q;
  cursor.SeekLength(along, across, &q, direction);
  D3DXVec3Normalize(direction, direction);
  *point += Center() + q;
}

D3DXVECTOR3* ZKW_VFigure_BSpline::GridPoint(D3DXVECTOR3* out, unsigned, unsigned, unsigned) {
  *out = Center();
  return out;
}
