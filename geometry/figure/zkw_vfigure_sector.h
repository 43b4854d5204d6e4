#pragma once

#include <cstdint>

#include "core/param/media_direction.h"
#include "geometry/figure/zkw_vfigure.h"

// An annular sector around the position: radii Ri and R, centred on the direction D and spanning
// the spread A (both in degrees). Particles start spread evenly over its area and fly outwards
// within A/2 of D; D = 90 points to (0, -1, 0).
class ZKW_VFigure_Sector : public ZKW_VFigure {
 public:
  ZKW_VFigure_Sector() = default;

  // "ZKW_VFigure_Sector", 1, UInt32 Ri, R, D, A, then the ZKW_VFigure record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Ri, R and D stored straight, the direction's derived vectors recomputed, A stored straight,
  // then the ZKW_VFigure record.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  const char* GetClassName() const override { return "ZKW_VFigure_Sector"; }

  // Draws the radius (r1, only when R is not 0), then the angle within the spread (r2) and, with
  // `spin`, the angle of a turn about Y (r3); the direction is the unit vector at that angle and
  // the point lies along it at the radius from the position.
  void EmitPointAndDirection(D3DXVECTOR3* point, D3DXVECTOR3* direction, bool spin) override;
  // The centre of cell `index`: rows are rings from the outermost (row 0) inwards, columns
  // angular slices from D - A/2 on.
  D3DXVECTOR3* GridPoint(D3DXVECTOR3* out, unsigned index, unsigned rows,
                         unsigned columns) override;

  MediaParamT<unsigned> innerRadius{0};
  MediaParamT<unsigned> radius{0};
  // The direction D, with the spread A as its `spread`.
  MediaSector sector;
};
