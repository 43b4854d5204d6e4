#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <utility>

#include "core/ds_safe_ptr.h"
#include "core/param/smart_points.h"
#include "core/param/smart_vector.h"
#include "geometry/curve/bspline_handles.h"
#include "geometry/curve/zkw_curve.h"
#include "geometry/offset/zkw_curve_offset_maker.h"

// A curve whose control points (corner points or B-spline points) live in an undoable list
// parameter with a current index. The point operations store the points and notify; whoever
// changes the points calls Rebuild afterwards. Here the curve has no samples: the kinds sample.
//
// Notification order of an append or insert: the current index (only when it changes, from no
// source), the point list, then the curve, the last two with the caller's source. An erase leaves
// the current index alone.
template <class P>
class ZKW_SmartCurve : public ZKW_Curve {
 public:
  using Points = ZKW_SmartVectorPtr<P>;

  ZKW_SmartCurve() = default;
  // The samples, the samples per segment, and a fresh point list (with its own undo control)
  // sharing the other's points, with the same current index.
  ZKW_SmartCurve(const ZKW_SmartCurve&) = default;
  ZKW_SmartCurve& operator=(const ZKW_SmartCurve&) = delete;

  int GetCount() const override { return static_cast<int>(points.Value().size()); }
  // Throws std::out_of_range outside the list.
  P* ControlPointAt(int index) override { return &PointAt(index); }
  // A new point with the position of `point` and its tag shared, both handles zero (whatever
  // `point` carries), appended.
  P* AppendPoint(const DX_SmartPnt& point, MediaControl* source) override {
    return Insert(GetCount(), NewPoint(point), source);
  }
  // The same, inserted before position `index`; an index outside [0, count] throws
  // std::out_of_range and inserts nothing.
  P* InsertPoint(int index, const DX_SmartPnt& point, MediaControl* source) override {
    if (index < 0 || index > GetCount()) ThrowInvalidSubscript();
    return Insert(index, NewPoint(point), source);
  }
  // Releases the point at `index` (std::out_of_range outside the list), then notifies.
  void EraseAt(int index, MediaControl* source) override {
    PointAt(index);
    points.RawValue().erase(points.RawValue().begin() + index);
    points.NotifyChanged(source);
    NotifyChanged(source);
  }

  Points points;

 protected:
  P& PointAt(int index) const {
    if (index < 0 || index >= GetCount()) ThrowInvalidSubscript();
    return *points.Value()[index];
  }

  // A new point made from `point`, given the automatic handles of a point appended after the
  // last one (SetAutomaticHandles) and appended. The polyline and the B-spline append this way.
  P* AppendWithAutomaticHandles(const DX_SmartPnt& point, MediaControl* source) {
    DS_SafePtr<P> added = NewPoint(point);
    if (GetCount() > 0) SetAutomaticHandles(PointAt(GetCount() - 1), *added);
    return Insert(GetCount(), added, source);
  }

  // Stores `point` at `index`, makes it current and notifies; answers it.
  P* Insert(int index, DS_SafePtr<P> point, MediaControl* source) {
    points.Insert(index, point, source);
    NotifyChanged(source);
    return &PointAt(index);
  }

  // The positions of the control points by index (std::out_of_range outside the list), as an
  // offsetter takes its centre line.
  OffsetPointSource ControlPointSource() const {
    return [this](unsigned index) -> const D3DXVECTOR3& {
      return PointAt(static_cast<int>(std::min<unsigned>(index, INT32_MAX))).Value();
    };
  }

  static DS_SafePtr<P> NewPoint(const DX_SmartPnt& point) {
    auto made = std::make_unique<P>();
    made->SetValueSilently(point.Value());
    made->tag = point.tag;
    return DS_SafePtr<P>(std::move(made));
  }

  [[noreturn]] static void ThrowInvalidSubscript() {
    throw std::out_of_range("invalid vector subscript");
  }
};
