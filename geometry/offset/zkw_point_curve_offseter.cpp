#include "geometry/offset/zkw_point_curve_offseter.h"

void ZKW_PointCurveOffseter::SetPoints(unsigned count, OffsetPointSource source) {
  points_.resize(count);
  for (unsigned i = 0; i < count; ++i) {
    const D3DXVECTOR3& p = source(i);
    points_[i] = {p.x, p.y};
  }
}
