#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/picture/frame_list.h"
#include "geometry/shape/zkw_vgeom2d.h"

// A region given as a list of rectangular cells, from which random points are drawn with a
// probability proportional to each cell's weight. It has no (u, v) parametrisation. The picture
// it was made from is kept and stored with it, but no query uses it.
class ZKW_VGeom2D_Freeform : public ZKW_VGeom2D {
 public:
  struct Cell {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // the cell spans x0..x1 and y0..y1
    int32_t flag = 1;
    // The running total of the cell weights up to and including this cell, so that the list is
    // ordered by non-decreasing weight.
    float weight = 0;
  };

  ZKW_VGeom2D_Freeform() = default;
  // Copies the cells, the total and the picture (its bytes shared).
  ZKW_VGeom2D_Freeform(const ZKW_VGeom2D_Freeform&) = default;

  // "ZKW_VGeom2D_Freeform", 1, Int32 flag, Float total weight, Dword cell count, per cell Int32
  // flag and Float x0, y0, x1, y1, weight; the picture as one frame-list entry (Int32 1, Dword
  // size, the bytes, Float delay); then the ZKW_VGeom2D record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The stored flags are dropped (they stay 1). A cell count or picture size that the remaining
  // bytes cannot hold fails the stream before anything is allocated.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);
  const char* GetClassName() const override { return "ZKW_VGeom2D_Freeform"; }
  std::unique_ptr<ZKW_VGeom2D> Clone() const override;

  // A point of the cell chosen by r1 x total weight (the first cell whose running weight reaches
  // it), at y = y0 + (y1 - y0) r2, then x = x0 + (x1 - x0) r3, z = 0; (0, 0, 0) when the draw
  // passes the last weight. False without cells. uv is not written.
  bool RandomPoint(D3DXVECTOR3* point, float uv[2]) const override;
  bool PointAt(float* uv, D3DXVECTOR3* point, D3DXVECTOR3* direction) const override;
  // (0, 0, 0).
  D3DXVECTOR3* GetCenter(D3DXVECTOR3* out) const override;
  // (1, 0, 0).
  D3DXVECTOR3* NormalAt(D3DXVECTOR3* out, const D3DXVECTOR3& point) const override;
  bool IsParametric() const override { return false; }
  bool TangentAt(const D3DXVECTOR3& point, const float* uv, D3DXVECTOR3* out) const override;
  bool Accept(ZKW_VGeom2D_Visitor& visitor) override;

  std::vector<Cell> cells;
  float totalWeight = 0;  // scales each draw; the last cell's weight in well-formed data
  int32_t flag = 1;
  PictureFrame picture;
};
