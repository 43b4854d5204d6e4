#include "core/math/parametric_spline_2d.h"

#include <limits>

void ParametricSpline2D::AddPoint(float x, float y) {
  ts_.push_back(static_cast<double>(ts_.size()));
  xs_.push_back(x);
  ys_.push_back(y);
}

bool ParametricSpline2D::Build() {
  const unsigned n = static_cast<unsigned>(ts_.size());
  const bool builtX = xSpline_.Build(ts_.data(), xs_.data(), n);
  const bool builtY = ySpline_.Build(ts_.data(), ys_.data(), n);
  return builtX && builtY;
}

D3DXVECTOR3 ParametricSpline2D::PointAt(float fraction) const {
  if (ts_.empty()) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    return {kNaN, kNaN, 0.0f};
  }
  const float t0 = static_cast<float>(ts_.front());
  const float tLast = static_cast<float>(ts_.back());
  const float t = (tLast - t0) * fraction + t0;
  return {static_cast<float>(xSpline_.Evaluate(t)), static_cast<float>(ySpline_.Evaluate(t)), 0.0f};
}

void ParametricSpline2D::Sample(std::vector<D3DXVECTOR3>& out) const {
  if (xSpline_.Empty() || ySpline_.Empty()) return;
  const double t0 = ts_.front();
  const double tLast = ts_.back();
  // Built splines have at least 3 points, so the step is positive.
  const double step = (tLast - t0) / 100.0;
  if (!(t0 <= tLast) || !(step > 0.0)) return;
  double t = t0;
  do {
    out.emplace_back(static_cast<float>(xSpline_.Evaluate(t)),
                     static_cast<float>(ySpline_.Evaluate(t)), 0.0f);
    t += step;
  } while (t <= tLast);
}
