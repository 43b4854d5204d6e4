#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "core/graph/zkw_vgraph.h"

// A piecewise-linear envelope through points expected in non-decreasing x (nothing sorts them).
//
// ValueAt(x, cursor): the cursor is the index of the right-hand point of the segment to try
// first (1 to begin with; 0 counts as 1) and is carried over while x grows. Segments whose ends
// share their x (vertical steps) are skipped; x below the first point extrapolates the first
// segment tried; beyond the last point, or with fewer than two points, the value is 0. The
// cursor never moves back.
class ZKW_VGraph_Line : public ZKW_VGraph {
 public:
  using Point = std::pair<float, float>;  // x, y

  ZKW_VGraph_Line() = default;
  explicit ZKW_VGraph_Line(std::vector<Point> points) : points_(std::move(points)) {}

  // "ZKW_VGraph_Line" version 1, the line body, then the base part.
  bool Save(DS_IOF_Archive& archive) const override;
  // The line body, then the base header (dropped).
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  const char* GetClassName() const override { return "ZKW_VGraph_Line"; }
  // The largest y, never below 0 (0 without points).
  float MaxValue() const override;
  float ValueAt(float x, unsigned* cursor) const override;
  bool PointAt(unsigned index, float* x, float* y) const override;

  void SetPoints(const std::vector<Point>& points) { points_ = points; }
  const std::vector<Point>& Points() const { return points_; }

 protected:
  // Dword n, then n pairs of Float x, y.
  void WriteLineBody(DS_IOF_Archive& archive) const;
  // Dword n; the list is emptied and n pairs appended. A count the remaining bytes cannot hold
  // fails the stream and leaves the list empty.
  void ReadLineBody(DS_IOF_Archive& archive);

 private:
  std::vector<Point> points_;
};
