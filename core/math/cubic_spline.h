#pragma once

#include <vector>

// An interpolating cubic spline y(x) through points with increasing x. Its second derivative is
// 0 at the first point; at the last point it is what the last row of the tridiagonal sweep gives
// (not 0). Outside the points the first and last pieces are extended.
class CubicSpline {
 public:
  // One piece per node i > 0, between x[i-1] and x[i], expanded around its right end x[i]:
  // y + b dx + c dx^2 / 2 + d dx^3 / 6 with dx = x - x[i].
  struct Node {
    double y = 0;  // value at the node
    double b = 0;  // first derivative
    double c = 0;  // second derivative
    double d = 0;  // third derivative
    double x = 0;  // abscissa
  };

  // Replaces the nodes by a spline through (x[i], y[i]). Needs at least 3 points with strictly
  // increasing, finite x; otherwise the spline is left empty and the answer is false.
  bool Build(const double* x, const double* y, unsigned n);

  // The spline's value at x; NaN for an empty spline.
  double Evaluate(double x) const;

  bool Empty() const { return nodes_.empty(); }
  const std::vector<Node>& Nodes() const { return nodes_; }

 private:
  std::vector<Node> nodes_;
};
