#pragma once

#include <cstddef>
#include <vector>

#include "core/math/cubic_spline.h"
#include "platform/math/d3dx_types.h"

// An interpolating curve through points taken in order: x(t) and y(t) are cubic splines over the
// point index t = 0, 1, 2, ...
class ParametricSpline2D {
 public:
  // Appends a point; its parameter is the number of points before it.
  void AddPoint(float x, float y);
  // Builds both splines from the points. Fewer than 3 points leave them unbuilt (false).
  bool Build();

  // The point at `fraction` of the parameter range (0 the first point, 1 the last), z = 0;
  // NaN coordinates while the splines are unbuilt.
  D3DXVECTOR3 PointAt(float fraction) const;
  // Appends samples from the first point on, 1/100 of the parameter range apart (the parameter
  // accumulated by addition, so 100 or 101 samples). Appends nothing while unbuilt.
  void Sample(std::vector<D3DXVECTOR3>& out) const;

  size_t Count() const { return ts_.size(); }

 private:
  CubicSpline xSpline_;
  CubicSpline ySpline_;
  std::vector<double> xs_;
  std::vector<double> ys_;
  std::vector<double> ts_;
};
