#pragma once

#include <memory>
#include <vector>

#include "core/ds_safe_ptr.h"
#include "core/param/smart_points.h"
#include "core/param/undo_ctrl.h"
#include "geometry/path/zkw_path_ctrl_points.h"

// The undo control of a path's point list: its history holds whole handle vectors, so earlier
// points stay alive while an entry names them.
template <class P, class C>
using UndoVectorCtrl = UndoCtrlT<std::vector<DS_SafePtr<P>>, C>;

// A path whose control points (DX_BSplinePnt, DX_CamPathPnt or DX_SmartPnt) are owned through
// handles, with undo. The point operations only store and notify; the owner calls Rebuild.
template <class P>
class SmartPath : public ZKW_PathCtrlPoints {
 public:
  using Points = std::vector<DS_SafePtr<P>>;

  SmartPath() { SubscribeUndo(); }
  // Shares the other's points; a fresh undo control subscribed to the copy.
  SmartPath(const SmartPath& other) : ZKW_PathCtrlPoints(other), points_(other.points_) {
    SubscribeUndo();
  }
  SmartPath& operator=(const SmartPath&) = delete;

  int GetCount() const override { return static_cast<int>(points_.size()); }
  // The point at `index`; null outside the list.
  P* ControlPointAt(int index) override { return InList(index) ? points_[index].Get() : nullptr; }
  // A new point made from `point` (its position; the tag shared; the kind's other fields at
  // their defaults) is appended; then the path notifies.
  P* AppendPoint(const DX_SmartPnt& point, MediaControl* source) override {
    points_.push_back(DS_SafePtr<P>(std::make_unique<P>(point)));
    NotifyChanged(source);
    return points_.back().Get();
  }
  // Releases the point at `index` (nothing outside the list); then the path notifies.
  void EraseAt(int index, MediaControl* source) override {
    if (InList(index)) points_.erase(points_.begin() + index);
    NotifyChanged(source);
  }
  // Paths cannot insert: throws the integer 0.
  DX_SmartPnt* InsertPoint(int, const DX_SmartPnt&, MediaControl*) override { throw 0; }

  const Points& Value() const { return points_; }
  // Direct store: no comparison, no notification.
  Points& RawValue() { return points_; }
  // When the points differ (by target, element by element), stores them and tells every control
  // but `source`. Answers whether they changed.
  bool SetValue(const Points& points, MediaControl* source = nullptr) {
    if (points_ == points) return false;
    points_ = points;
    NotifyChanged(source);
    return true;
  }

  UndoVectorCtrl<P, SmartPath>& UndoControl() { return undo_; }

 protected:
  bool InList(int index) const { return index >= 0 && index < GetCount(); }

  Points points_;

 private:
  void SubscribeUndo() {
    AddControl(&undo_);
    undo_.OnParamChanged(nullptr);
  }

  UndoVectorCtrl<P, SmartPath> undo_{this};
};

// The camera's path: points with a travel time and a zoom (5.0 s and 100 % for a new point).
class CameraPath : public SmartPath<DX_CamPathPnt> {};
