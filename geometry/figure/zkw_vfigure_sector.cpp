#include "geometry/figure/zkw_vfigure_sector.h"

#include <cmath>

#include "core/crt_rand.h"
#include "platform/math/d3dx_math.h"

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;

// The unit vector at `degrees`, measured from +x towards +y.
D3DXVECTOR3 UnitAt(float degrees) {
  const float a = degrees * kRadiansPerDegree;
  return {std::cos(a), std::sin(a), 0.0f};
}

}  // namespace

bool ZKW_VFigure_Sector::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_VFigure_Sector", 1);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(innerRadius.Value());
  io.WriteUInt32(radius.Value());
  io.WriteUInt32(sector.Value());
  io.WriteUInt32(sector.spread.Value());
  return ZKW_VFigure::Save(archive);
}

void ZKW_VFigure_Sector::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(innerRadius.RawValue());
  io.ReadUInt32(radius.RawValue());
  io.ReadUInt32(sector.RawValue());
  sector.Recompute();
  io.ReadUInt32(sector.spread.RawValue());
  ReadBase(archive);
}

void ZKW_VFigure_Sector::EmitPointAndDirection(D3DXVECTOR3* point, D3DXVECTOR3* direction,
                                               bool spin) {
  const float outer = static_cast<float>(radius.Value());
  float rho = 0.0f;
  if (radius.Value() != 0) {
    // Even over the ring's area: rho^2 spread evenly between Ri^2 and R^2.
    const float q = static_cast<float>(innerRadius.Value()) / outer;
    rho = outer * std::sqrt(q * q + (1.0f - q * q) * crt_rand_unit());
  }
  const float d = static_cast<float>(sector.Value());
  const float a = static_cast<float>(sector.spread.Value());
  const float s = -a + 2 * a * crt_rand_unit();
  D3DXVECTOR3 unit = UnitAt((360.0f - d) - s / 2);
  if (spin) {
    const float turn = -a + 2 * a * crt_rand_unit();
    D3DXMATRIX m;
    D3DXMatrixRotationY(&m, ((360.0f - d) - turn / 2) * kRadiansPerDegree);
    D3DXVec3TransformCoord(&unit, &unit, &m);
  }
  *direction = unit;
  *point += Center() + rho * unit;
}

D3DXVECTOR3* ZKW_VFigure_Sector::GridPoint(D3DXVECTOR3* out, unsigned index, unsigned rows,
                                           unsigned columns) {
  if (EmptyLattice(out, rows, columns)) return out;
  const float inner = static_cast<float>(innerRadius.Value());
  const float outer = static_cast<float>(radius.Value());
  const float a = static_cast<float>(sector.spread.Value());
  // Row and column as floats, so that an index past the lattice extends it instead of wrapping.
  const float row = static_cast<float>(index / columns);
  const float column = static_cast<float>(index % columns);
  const float r = inner + (outer - inner) / static_cast<float>(rows) *
                              ((static_cast<float>(rows) - row) - 0.5f);
  const float theta = (static_cast<float>(sector.Value()) - a / 2 +
                       a / static_cast<float>(columns) * (column + 0.5f)) *
                      kRadiansPerDegree;
  const D3DXVECTOR3& c = Center();
  *out = {c.x + r * std::cos(theta), c.y - r * std::sin(theta), c.z + 0.0f * r};
  return out;
}
