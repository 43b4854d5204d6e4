#include "geometry/shape/zkw_vgeom2d_freeform.h"

#include <cstddef>
#include <string>

#include "core/crt_rand.h"
#include "geometry/shape/zkw_vgeom2d_visitor.h"

namespace {

// Int32 flag and five Float.
constexpr uint64_t kCellBytes = 24;

}  // namespace

bool ZKW_VGeom2D_Freeform::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VGeom2D_Freeform", 1);
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(flag);
  io.WriteFloat(totalWeight);
  io.WriteDword(static_cast<uint32_t>(cells.size()));
  for (const Cell& cell : cells) {
    io.WriteInt32(cell.flag);
    io.WriteFloat(cell.x0);
    io.WriteFloat(cell.y0);
    io.WriteFloat(cell.x1);
    io.WriteFloat(cell.y1);
    io.WriteFloat(cell.weight);
  }
  io.WriteInt32(1);
  io.WriteDword(picture.bytes.Count());
  io.WriteBytes(picture.bytes.Count(), picture.bytes.Data());
  io.WriteFloat(picture.delay);
  return ZKW_VGeom2D::Save(archive);
}

void ZKW_VGeom2D_Freeform::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  DS_IOF_Virtual& io = archive.io();
  int32_t dropped = 0;
  io.ReadInt32(dropped);
  io.ReadFloat(totalWeight);
  uint32_t count = 0;
  io.ReadDword(count);
  cells.clear();
  if (io.CountFits(count, kCellBytes)) {
    cells.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
      Cell cell;
      io.ReadInt32(dropped);
      io.ReadFloat(cell.x0);
      io.ReadFloat(cell.y0);
      io.ReadFloat(cell.x1);
      io.ReadFloat(cell.y1);
      io.ReadFloat(cell.weight);
      cells.push_back(cell);
    }
  }
  io.ReadInt32(dropped);
  uint32_t size = 0;
  io.ReadDword(size);
  if (size > io.Remaining()) {
    io.Fail("a picture of " + std::to_string(size) + " bytes passes the end of the data");
  } else if (!picture.bytes.Allocate(size)) {
    io.Fail("a picture of " + std::to_string(size) + " bytes cannot be allocated");
  } else {
    io.ReadBytes(size, picture.bytes.Data());
  }
  io.ReadFloat(picture.delay);
  ReadBaseHeader(archive);
}

std::unique_ptr<ZKW_VGeom2D> ZKW_VGeom2D_Freeform::Clone() const {
  return std::make_unique<ZKW_VGeom2D_Freeform>(*this);
}

bool ZKW_VGeom2D_Freeform::RandomPoint(D3DXVECTOR3* point, float*) const {
  if (cells.empty()) return false;
  const float t = crt_rand_unit() * totalWeight;
  // Bisection for the first cell whose weight reaches t; stored weights that are out of order
  // (or NaN) still end it at some cell or past the last one.
  size_t low = 0, high = cells.size();
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    if (cells[middle].weight < t) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  if (low == cells.size()) {
    *point = {0.0f, 0.0f, 0.0f};
    return true;
  }
  const Cell& cell = cells[low];
  const float y = cell.y0 + (cell.y1 - cell.y0) * crt_rand_unit();
  const float x = cell.x0 + (cell.x1 - cell.x0) * crt_rand_unit();
  *point = {x, y, 0.0f};
  return true;
}

bool ZKW_VGeom2D_Freeform::PointAt(float*, D3DXVECTOR3*, D3DXVECTOR3*) const {
  return false;
}

D3DXVECTOR3* ZKW_VGeom2D_Freeform::GetCenter(D3DXVECTOR3* out) const {
  *out = {0.0f, 0.0f, 0.0f};
  return out;
}

D3DXVECTOR3* ZKW_VGeom2D_Freeform::NormalAt(D3DXVECTOR3* out, const D3DXVECTOR3&) const {
  *out = {1.0f, 0.0f, 0.0f};
  return out;
}

bool ZKW_VGeom2D_Freeform::TangentAt(const D3DXVECTOR3&, const float*, D3DXVECTOR3*) const {
  return false;
}

bool ZKW_VGeom2D_Freeform::Accept(ZKW_VGeom2D_Visitor& visitor) {
  return visitor.VisitFreeform(*this);
}
