#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "core/archive/ds_iof_archive.h"
#include "core/object/ds_iof_item.h"
#include "platform/math/d3dx_types.h"

class OwnedControlList;
class ZKW_VGeom2D_Visitor;

// The 2-D shape of the particle engine: a region, a path or an area that physics, emitters,
// groups, tracks and stripes ask for points, directions, normals and containment. Every shape is
// parametrised over a pair (u, v), nominally each in [0, 1]; what u and v mean depends on the
// kind. Shapes lie in the plane z = 0 of their own frame (a figure adds the z of its position)
// and are shared through DS_SafePtr handles. Angles become directions as (cos a, -sin a, 0).
//
// Random draws are r = crt_rand() / 32767; the order of the draws inside each operation is part
// of its definition. An operation a kind cannot answer returns false (or 0) and leaves its
// outputs untouched, unless the kind says otherwise.
class ZKW_VGeom2D : public DS_IOF_Item {
 public:
  // The record every shape's chain ends with: "ZKW_VGeom2D", version 1, no fields.
  bool Save(DS_IOF_Archive& archive) const override = 0;
  // The registered class name, the one Save writes.
  virtual const char* GetClassName() const = 0;
  // A copy of the shape (the caller owns it).
  virtual std::unique_ptr<ZKW_VGeom2D> Clone() const = 0;
  // Rebuilds the shape as the simplest shape of its kind between the two points (curves only).
  virtual bool InitAsSegment(float x0, float y0, float z0, float x1, float y1, float z1);
  virtual bool GetBounds(D3DXVECTOR3* min, D3DXVECTOR3* max) const;
  // u = r1, then v = r2, written into uv; then PointAt of them.
  virtual bool RandomPoint(D3DXVECTOR3* point, float uv[2]) const;
  // The point at (uv[0], uv[1]) and, when `direction` is not null, the shape's direction there;
  // false when no point was produced. The stripe writes its remapped u back into uv[0].
  virtual bool PointAt(float* uv, D3DXVECTOR3* point, D3DXVECTOR3* direction) const = 0;
  // PointAt of the three floats (u, v, 0).
  virtual bool PointAtUV(float u, float v, D3DXVECTOR3* point, D3DXVECTOR3* direction) const;
  virtual bool Contains(const D3DXVECTOR3& point) const;
  // Where a ray from an inside point along `direction` leaves the shape.
  virtual bool ClipRay(const D3DXVECTOR3& point, const D3DXVECTOR3& direction,
                       D3DXVECTOR3* exit) const;
  // (cos a, -sin a, 0) with a = r x 2 pi, one draw, computed in double precision.
  virtual D3DXVECTOR3* RandomDirection(D3DXVECTOR3* out) const;
  virtual D3DXVECTOR3* GetCenter(D3DXVECTOR3* out) const = 0;
  // The normal of the shape at, or nearest to, `point`.
  virtual D3DXVECTOR3* NormalAt(D3DXVECTOR3* out, const D3DXVECTOR3& point) const = 0;
  // True for curves, figures and the stripe; false for the point-set regions.
  virtual bool IsParametric() const { return true; }
  // TangentAt, then normal = the tangent turned a quarter turn counter-clockwise, (-t.y, t.x, 0).
  // False, with `normal` untouched, when TangentAt is false.
  virtual bool NormalAtParam(const D3DXVECTOR3& point, const float* uv, D3DXVECTOR3* tangent,
                             D3DXVECTOR3* normal) const;
  virtual bool TangentAt(const D3DXVECTOR3& point, const float* uv, D3DXVECTOR3* out) const = 0;
  // Whether the shape is closed in u (v), so that the parameter may run past [0, 1].
  virtual bool IsClosed() const { return false; }
  virtual bool IsClosedV() const { return false; }
  // The shape's length across (in v) at parameter u, and along (in u) at parameter v.
  virtual float GetSpanAcross(float /*u*/) const { return 0.0f; }
  virtual float GetSpanAlong(float /*v*/) const { return 0.0f; }
  // Calls the visitor's operation for the kind and answers what it answers.
  virtual bool Accept(ZKW_VGeom2D_Visitor& visitor);
  // Puts a control on every parameter that defines the kind's geometry, each calling `callback`
  // when its parameter changes, into `list`, which owns them. Kinds without such parameters add
  // nothing.
  virtual void AttachParamCallbacks(OwnedControlList& list, const std::function<void()>& callback);

 protected:
  ZKW_VGeom2D() = default;
  ZKW_VGeom2D(const ZKW_VGeom2D&) = default;
  ZKW_VGeom2D& operator=(const ZKW_VGeom2D&) = delete;
};

// A kind's reading body reads its own fields, then its base's header and body; the chain ends
// with the header of the ZKW_VGeom2D record (read with ReadBaseHeader and dropped).

// A shape record read by class name through the shape registry; null for a class the registry
// does not hold (the stream is failed then).
std::unique_ptr<ZKW_VGeom2D> ReadVGeom2D(DS_IOF_Archive& archive);

// A new shape of the class named in UTF-8 with its defaults, or null when no shape class is
// registered under it. Invalid UTF-8 raises std::range_error.
std::unique_ptr<ZKW_VGeom2D> CreateVGeom2DByName(const char* utf8Name);
