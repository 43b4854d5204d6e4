#include "core/math/cubic_spline.h"

#include <cmath>
#include <limits>

bool CubicSpline::Build(const double* x, const double* y, unsigned n) {
  nodes_.clear();
  if (n < 3 || x == nullptr || y == nullptr) return false;
  for (unsigned i = 0; i < n; ++i) {
    if (!std::isfinite(x[i]) || (i > 0 && !(x[i] > x[i - 1]))) return false;
  }
  nodes_.resize(n);
  for (unsigned i = 0; i < n; ++i) {
    nodes_[i].x = x[i];
    nodes_[i].y = y[i];
  }
  nodes_[0].c = 0.0;

  // Forward sweep of the tridiagonal system for the second derivatives.
  std::vector<double> alpha(n - 1, 0.0), beta(n - 1, 0.0);
  double A = 0, C = 0, F = 0;
  for (unsigned i = 1; i + 1 < n; ++i) {
    const double hl = x[i] - x[i - 1];
    const double hr = x[i + 1] - x[i];
    A = hl;
    C = 2.0 * (hl + hr);
    const double B = hr;
    F = 6.0 * ((y[i + 1] - y[i]) / hr - (y[i] - y[i - 1]) / hl);
    const double z = A * alpha[i - 1] + C;
    alpha[i] = -B / z;
    beta[i] = (F - A * beta[i - 1]) / z;
  }
  // The last node takes the last row of the sweep again.
  nodes_[n - 1].c = (F - A * beta[n - 2]) / (C + A * alpha[n - 2]);

  for (unsigned i = n - 2; i >= 1; --i)
    nodes_[i].c = alpha[i] * nodes_[i + 1].c + beta[i];

  for (unsigned i = n - 1; i >= 1; --i) {
    const double h = x[i] - x[i - 1];
    nodes_[i].d = (nodes_[i].c - nodes_[i - 1].c) / h;
    nodes_[i].b = h * (2.0 * nodes_[i].c + nodes_[i - 1].c) / 6.0 + (y[i] - y[i - 1]) / h;
  }
  return true;
}

double CubicSpline::Evaluate(double x) const {
  if (nodes_.empty()) return std::numeric_limits<double>::quiet_NaN();
  const size_t n = nodes_.size();
  size_t node;
  if (x <= nodes_[0].x) {
    node = 1;
  } else if (x >= nodes_[n - 1].x) {
    node = n - 1;
  } else {
    size_t lo = 0, hi = n - 1;
    while (lo + 1 < hi) {
      const size_t mid = lo + (hi - lo) / 2;
      if (x <= nodes_[mid].x) {
        hi = mid;
      } else {
        lo = mid;
      }
    }
    node = hi;
  }
  const Node& s = nodes_[node];
  const double dx = x - s.x;
  return ((s.d * dx / 6.0 + s.c / 2.0) * dx + s.b) * dx + s.y;
}
