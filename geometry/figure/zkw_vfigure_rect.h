#pragma once

#include <cstdint>

#include "geometry/figure/zkw_vfigure.h"

// A rectangle of width W and height H centred on the position. With W = H = 0, the default
// figure of an emitter, every particle starts at the position.
class ZKW_VFigure_Rect : public ZKW_VFigure {
 public:
  ZKW_VFigure_Rect() = default;

  // "ZKW_VFigure_Rect", 1, UInt32 W, UInt32 H, then the ZKW_VFigure record.
  bool Save(DS_IOF_Archive& archive) const override;
  // W and H stored straight, then the ZKW_VFigure record.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  const char* GetClassName() const override { return "ZKW_VFigure_Rect"; }

  // The point q = c + (-W/2 + W r1, -H/2 + H r2, 0) and the direction from the origin to it,
  // or, for q at the origin, (1, 0, 0) turned about Z by a random angle (a third draw made only
  // then). `spin` turns both about Y by one more random angle.
  void EmitPointAndDirection(D3DXVECTOR3* point, D3DXVECTOR3* direction, bool spin) override;
  // p += c + (-W/2 + W r1, -H/2 + H r2, 0).
  void AddRandomPoint(D3DXVECTOR3* point) override;
  // The centre of cell `index` of a rows x columns lattice over the rectangle, cells numbered row
  // by row from the corner with the smallest x and y.
  D3DXVECTOR3* GridPoint(D3DXVECTOR3* out, unsigned index, unsigned rows,
                         unsigned columns) override;

  MediaParamT<unsigned> width{0};
  MediaParamT<unsigned> height{0};

 private:
  // (-W/2 + W r1, -H/2 + H r2, 0): two draws, x first.
  D3DXVECTOR3 RandomOffset() const;
};
