#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/ds_safe_ptr.h"
#include "core/param/media_param_t.h"
#include "platform/math/d3dx_types.h"

class DX_SmartPnt;
class DX_BSplinePnt;
class ZKW_CornerBSplinePnt;

// Tells a visitor which kind of control point it meets.
class DX_PointVisitor {
 public:
  virtual ~DX_PointVisitor() = default;
  virtual void VisitCorner(ZKW_CornerBSplinePnt& point) = 0;
  virtual void VisitBSpline(DX_BSplinePnt& point) = 0;
  virtual void VisitPlain(DX_SmartPnt& point) = 0;
};

// The target type of a point's tag. Points made from one another share a tag holder; nothing
// sets a target.
struct DX_PointTag {
  virtual ~DX_PointTag() = default;
};

// A control point: its position, with undo, and its tag. Containers hold points through
// DS_SafePtr handles and learn of edits through their own operations.
class DX_SmartPnt : public MediaParamT<D3DXVECTOR3> {
 public:
  using Tag = DS_SafePtr<DX_PointTag>;

  // Position (0, 0, 0); a fresh tag.
  DX_SmartPnt() = default;
  // The position copied into a fresh parameter, the tag shared.
  DX_SmartPnt(const DX_SmartPnt& other) : MediaParamT<D3DXVECTOR3>(other), tag(other.tag) {}
  DX_SmartPnt& operator=(const DX_SmartPnt&) = delete;

  virtual void Accept(DX_PointVisitor& visitor) { visitor.VisitPlain(*this); }

  Tag tag = NewTag();

  static Tag NewTag() { return Tag(std::unique_ptr<DX_PointTag>()); }
};

// A point with two tangent handles: the first points towards the next point of a path
// (outgoing), the second towards the previous one (incoming).
class DX_BSplinePnt : public DX_SmartPnt {
 public:
  DX_BSplinePnt() = default;
  DX_BSplinePnt(float x, float y) { SetValueSilently({x, y, 0.0f}); }
  // Any point's position, its tag shared; both handles zero. A B-spline point made this way
  // loses its handles.
  explicit DX_BSplinePnt(const DX_SmartPnt& point) : DX_SmartPnt(point) {}
  DX_BSplinePnt(const DX_BSplinePnt& point) = delete;
  DX_BSplinePnt& operator=(const DX_BSplinePnt&) = delete;

  void Accept(DX_PointVisitor& visitor) override { visitor.VisitBSpline(*this); }

  // Int32 1 (version word), then position, first handle and second handle as three Float each.
  void Write(DS_IOF_Archive& archive) const;

  MediaParamT<D3DXVECTOR3> firstHandle;
  MediaParamT<D3DXVECTOR3> secondHandle;
};

// A B-spline point of polylines and corner splines.
class ZKW_CornerBSplinePnt : public DX_BSplinePnt {
 public:
  ZKW_CornerBSplinePnt() = default;
  // A new point (own tag) with the position and both handles of `point`, set silently.
  explicit ZKW_CornerBSplinePnt(const DX_BSplinePnt& point);

  void Accept(DX_PointVisitor& visitor) override { visitor.VisitCorner(*this); }
};

// A point of the camera's path: how long the camera travels from it to the next point, and the
// zoom there in percent.
class DX_CamPathPnt : public DX_SmartPnt {
 public:
  DX_CamPathPnt() = default;
  // The position copied, the tag shared, the travel time and zoom at their defaults.
  explicit DX_CamPathPnt(const DX_SmartPnt& point) : DX_SmartPnt(point) {}
  DX_CamPathPnt(const DX_CamPathPnt&) = delete;
  DX_CamPathPnt& operator=(const DX_CamPathPnt&) = delete;

  MediaParamT<float> travelTime{5.0f};
  MediaParamT<unsigned> zoomPercent{100};
};

// Three Float x, y, z, stored silently as the position; the tag becomes a fresh one.
void ReadSmartPoint(DS_IOF_Archive& archive, DX_SmartPnt& point);

// A Dword count, then that many points of kind P, each made with its defaults and filled by
// `readPoint(archive, point)`; they replace the vector's points (the old handles are released
// first). A count that the remaining bytes cannot hold, at `pointBytes` each, fails the stream
// and leaves the vector empty.
template <class P, class ReadPoint>
void ReadPointVector(DS_IOF_Archive& archive, std::vector<DS_SafePtr<P>>& points,
                     uint64_t pointBytes, ReadPoint readPoint) {
  uint32_t count = 0;
  archive.io().ReadDword(count);
  points.clear();
  if (!archive.io().CountFits(count, pointBytes)) {
    return;
  }
  points.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    DS_SafePtr<P> point(std::make_unique<P>());
    readPoint(archive, *point);
    points.push_back(std::move(point));
  }
}

// A Dword count and that many points, which replace the vector's points (the old handles are
// released first). A count that the remaining bytes cannot hold fails the stream and leaves
// the vector empty.
void ReadSmartPointVector(DS_IOF_Archive& archive, std::vector<DS_SafePtr<DX_SmartPnt>>& points);
void WriteSmartPointVector(DS_IOF_Archive& archive,
                           const std::vector<DS_SafePtr<DX_SmartPnt>>& points);

// A camera-path point: Int32 version, the position as ReadSmartPoint reads it, Float travel
// time and, from version 1 on, UInt32 zoom percent; both stored straight (nobody is told), so
// a version 0 record keeps the zoom the point had.
void ReadCamPathPoint(DS_IOF_Archive& archive, DX_CamPathPnt& point);
// Writes version 1 with every field.
void WriteCamPathPoint(DS_IOF_Archive& archive, const DX_CamPathPnt& point);
