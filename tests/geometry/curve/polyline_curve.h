#pragma once

#include <memory>
#include <vector>

#include "geometry/curve/zkw_curve.h"
#include "platform/math/d3dx_math.h"

// A test curve whose samples are its points, each with the direction of the segment that leaves
// it (the last with that of the segment that reaches it): the base's queries over a known list.
class PolylineCurve : public ZKW_Curve {
 public:
  explicit PolylineCurve(std::vector<D3DXVECTOR3> points) : points_(std::move(points)) {
    Rebuild();
  }
  void SetPoints(std::vector<D3DXVECTOR3> points) { points_ = std::move(points); }

  int GetCount() const override { return static_cast<int>(points_.size()); }
  void EraseAt(int, MediaControl*) override {}
  DX_SmartPnt* ControlPointAt(int) override { return nullptr; }
  DX_SmartPnt* AppendPoint(const DX_SmartPnt&, MediaControl*) override { return nullptr; }
  DX_SmartPnt* InsertPoint(int, const DX_SmartPnt&, MediaControl*) override { return nullptr; }

  void Tessellate(std::vector<CurveSample>& out, int) override {
    for (size_t i = 0; i < points_.size(); ++i) {
      const size_t from = i + 1 < points_.size() ? i : (i > 0 ? i - 1 : i);
      const size_t to = from + 1 < points_.size() ? from + 1 : from;
      const D3DXVECTOR3 chord = points_[to] - points_[from];
      D3DXVECTOR3 tangent;
      D3DXVec3Normalize(&tangent, &chord);
      AppendCurveSample(out, points_[i], tangent);
    }
  }

 private:
  std::vector<D3DXVECTOR3> points_;
};
