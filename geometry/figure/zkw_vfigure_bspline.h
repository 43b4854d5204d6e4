#pragma once

#include <cstdint>

#include "geometry/figure/zkw_vfigure.h"
#include "geometry/path/spline_path.h"

// A band along a B-spline path, offset by the position: particles start at a random arc length,
// up to the half-width w to either side, and fly along the path there.
class ZKW_VFigure_BSpline : public ZKW_VFigure {
 public:
  ZKW_VFigure_BSpline() = default;

  // "ZKW_VFigure_BSpline", 1, the path's points (a Dword count, then each point record), then
  // the ZKW_VFigure record. The half-width is not stored.
  bool Save(DS_IOF_Archive& archive) const override;
  // The points replace the path's, the path is rebuilt, then the ZKW_VFigure record.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  const char* GetClassName() const override { return "ZKW_VFigure_BSpline"; }

  // The point at arc length L r1 and lateral offset -w + 2w r2, with the path's unit direction
  // there; an empty path gives the position and (1, 0, 0). `spin` is not used.
  void EmitPointAndDirection(D3DXVECTOR3* point, D3DXVECTOR3* direction, bool spin) override;
  // The position: a band has no lattice.
  D3DXVECTOR3* GridPoint(D3DXVECTOR3* out, unsigned index, unsigned rows,
                         unsigned columns) override;

  SplinePath path;
  MediaParamT<unsigned> halfWidth{0};
};
